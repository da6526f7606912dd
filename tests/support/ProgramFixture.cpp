#include "ProgramFixture.h"

#include <QFile>
#include <QLocale>

void ProgramFixture::SetUp() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("XDG_STATE_HOME", QFile::encodeName(Path(QStringLiteral("state"))));
}

void ProgramFixture::TearDown() {
    DestroyMain();
}

ProgramWindows& ProgramFixture::Create(unsigned windows, bool collectMessages,
                                       std::function<void(TFmain&)> prepare) {
    DestroyMain();
    program = std::make_unique<ProgramWindows>(Path(QStringLiteral("quillmarch")));
    program->BeforeMainLoads = [this, collectMessages, prepare](TFmain& shell) {
        if (collectMessages) shell.ShowShellMessage = [this](const QString& text) { shellMessages << text; };
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
