#include "printlib/PrintLibApi.h"

#include "printlib/PrintJob.h"
#include "printlib/PrintResult.h"

#include <new>

// Nothing may escape into the caller, which knows nothing of C++ exceptions.
int32_t print_report(const char* file, int32_t option) {
    try {
        return PrintJob::Run(file, option);
    } catch (const std::bad_alloc&) {
        return PrintResult::kTooLarge;
    } catch (...) {
        return PrintResult::kOutputFailed;
    }
}

int32_t has_active_processes() {
    return PrintJob::Active();
}
