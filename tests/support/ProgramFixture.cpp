#include "ProgramFixture.h"

#include <QFile>

void ProgramFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    reg.programFile = Path(QStringLiteral("quillmarch"));
    sure = std::make_unique<TFsure>(reg);
    reg.sure = sure.get();
    msg = std::make_unique<TDmsg>(reg);
    reg.msg = msg.get();
    selectImage = std::make_unique<TD_select_image>(reg);
    reg.selectImage = selectImage.get();
    about = std::make_unique<TF_about>(reg);
    reg.about = about.get();
}

void ProgramFixture::TearDown() {
    DestroyMain();
    reg.about = nullptr;
    reg.selectImage = nullptr;
    reg.msg = nullptr;
    reg.sure = nullptr;
}

TFmain& ProgramFixture::Start() {
    main = std::make_unique<TFmain>(reg);
    main->ShowShellMessage = [this](const QString& text) { shellMessages << text; };
    return *main;
}

bool ProgramFixture::Close() {
    main->close();
    return main->IsClosed();
}

void ProgramFixture::DestroyMain() {
    main.reset();
}

std::string ProgramFixture::ReadBytes(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

void ProgramFixture::WriteBytes(const QString& file, const std::string& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}
