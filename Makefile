# Set-up and build on Debian 12. `make run` builds and starts the program, `make test` builds and runs
# every test. Missing Debian packages are installed when run as root (or with sudo available).

BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= 2
CMAKE_ARGS ?=

PACKAGES := build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6-dev \
            libgl-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev \
            qt6-qpa-plugins xvfb xauth poppler-utils

.PHONY: all deps configure build run test test-sanitize bench fuzz install clean

all: build

FUZZ_PACKAGES := clang libclang-rt-14-dev

deps:
	@missing=""; for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    if [ "$$(id -u)" = 0 ]; then SUDO=""; elif command -v sudo >/dev/null; then SUDO=sudo; \
	    else echo "Please install:$$missing"; exit 1; fi; \
	    $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/quillmarch

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DQM_SANITIZE=ON -DQM_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)
	cmake --build $(SAN_BUILD) -j$(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j$(JOBS)

bench: configure
	cmake --build $(BUILD) -j$(JOBS) --target qm_bench
	./$(BUILD)/bench/qm_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

fuzz:
	$(MAKE) deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	CXX=clang++ cmake -S . -B build-fuzz -DQM_FUZZ=ON -DQM_TESTS=OFF -DQM_BENCH=OFF
	cmake --build build-fuzz -j$(JOBS) --target qm_fuzz_markup qm_fuzz_zbm qm_fuzz_report
	mkdir -p build-fuzz/corpus build-fuzz/corpus-zbm build-fuzz/report_corpus
	./build-fuzz/fuzz/qm_fuzz_markup -max_total_time=60 -dict=fuzz/markup.dict build-fuzz/corpus fuzz/corpus
	./build-fuzz/fuzz/qm_fuzz_zbm -max_total_time=60 -dict=fuzz/zbm.dict build-fuzz/corpus-zbm fuzz/corpus-zbm
	QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=fuzz/lsan.supp ./build-fuzz/fuzz/qm_fuzz_report -max_total_time=60 -dict=fuzz/report.dict \
	    build-fuzz/report_corpus fuzz/report_corpus

PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-fuzz
