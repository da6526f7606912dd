#include "ProgramFixture.h"

#include <QDir>
#include <QFile>
#include <QLocale>

void ProgramFixture::SetUp() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("XDG_STATE_HOME", QFile::encodeName(Path(QStringLiteral("state"))));
    // Locks of open lists go into a runtime folder of the test's, private as the session's is.
    QDir().mkpath(Path(QStringLiteral("runtime")));
    QFile::setPermissions(Path(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(Path(QStringLiteral("runtime"))));
    // The program works relative to the folder it starts in ("../dat", "../docs"): a folder of the test's.
    startDir_ = QDir::currentPath();
    QDir().mkpath(Path(QStringLiteral("start")));
    QDir::setCurrent(Path(QStringLiteral("start")));
}

void ProgramFixture::TearDown() {
    DestroyMain();
    QDir::setCurrent(startDir_);
}

ProgramWindows& ProgramFixture::Create(unsigned windows, bool collectMessages,
                                       std::function<void(TFmain&)> prepare) {
    DestroyMain();
    program = std::make_unique<ProgramWindows>(Path(QStringLiteral("quillmarch")));
    program->BeforeMainLoads = [this, collectMessages, prepare](TFmain& shell) {
        if (collectMessages) shell.ShowShellMessage = [this](const QString& text) { shellMessages << text; };
        shell.ShowShellNotice = [this](const QString& text) { shellNotices << text; };
        if (prepare) prepare(shell);
    };
    program->Create(windows);
    main = program->registry.main;
    return *program;
}

TFmain& ProgramFixture::Start() {
    Create(ProgramWindows::All);
    return *main;
}

bool ProgramFixture::Close() {
    main->close();
    return main->IsClosed();
}

void ProgramFixture::DestroyMain() {
    main = nullptr;
    program.reset();
}
