#include "TForm_main.h"

#include "AppPaths.h"
#include "DataFileSave.h"
#include "ItemImages.h"
#include "TD_settings_user.h"
#include "TodoRules.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

namespace {
constexpr int kTrayTipLimit = 63;
}

TForm_main::TForm_main(WindowRegistry& registry, QWidget* parent) : QMainWindow(parent), reg_(registry) {
    reg_.shell = this;
    setWindowTitle(QStringLiteral("To Do List"));

    PM1 = new QMenu(this);
    PM1->setObjectName(QStringLiteral("PM1"));
    N_show = PM1->addAction(QStringLiteral("Show"));
    N_show->setObjectName(QStringLiteral("N_show"));
    N1 = PM1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    N_exit = PM1->addAction(QStringLiteral("&Exit"));
    N_exit->setObjectName(QStringLiteral("N_exit"));
    connect(N_show, &QAction::triggered, this, &TForm_main::ShowFromTray);
    connect(N_exit, &QAction::triggered, this, &QWidget::close);
    // "Show" only makes sense while the window is hidden.
    connect(PM1, &QMenu::aboutToShow, this, [this] { N_show->setEnabled(isHidden() || isMinimized()); });

    ShowShellMessage = [this](const QString& text) {
        QMessageBox::warning(isVisible() ? this : nullptr, QStringLiteral("Quillmarch"), text);
    };
    AskQuitUnsaved = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillmarch"), text, QMessageBox::NoButton,
                        isVisible() ? this : nullptr);
        QPushButton* quit =
            box.addButton(QStringLiteral("Quit without saving"), QMessageBox::DestructiveRole);
        QPushButton* stay = box.addButton(QStringLiteral("Stay"), QMessageBox::RejectRole);
        box.setDefaultButton(stay);
        box.exec();
        return box.clickedButton() == quit;
    };
}

TForm_main::~TForm_main() {
    Shutdown();
    if (reg_.shell == this) reg_.shell = nullptr;
}

void TForm_main::FormCreate() {
    NoSaveOnExit = false;

    // The help folder is "../docs" from the current directory, falling back to the directory itself.
    StartDir = QDir::currentPath();
    const QDir docs(QDir(StartDir).filePath(QStringLiteral("../docs")));
    HelpDir = docs.exists() ? docs.canonicalPath() : StartDir;

    if (!reg_.settings) {
        ownedSettings_ = std::make_unique<TD_settings_user>(reg_);
        reg_.settings = ownedSettings_.get();
    }
    BackupOnSave = reg_.settings->BackupMode() == 2;

    TodoDoc = std::make_unique<TNoxPigger>();
    if (!LoadDataFile()) return; // the program is ending; it gets no tray icon

    // Made even without a notification area: Qt shows the icon once a panel provides one (a program
    // started with the session may be up before the panel). Until then HasTray() is false.
    tray_ = new QSystemTrayIcon(app_icon(), this);
    tray_->setToolTip(windowTitle().left(kTrayTipLimit));
    tray_->setContextMenu(PM1);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // Panels that speak the status-notifier protocol report a plain click and never a double one.
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
            ShowFromTray();
        else if (reason == QSystemTrayIcon::Context && isVisible() && !isMinimized())
            activateWindow();
    });
    tray_->show();
}

bool TForm_main::HasTray() const {
    return tray_ && QSystemTrayIcon::isSystemTrayAvailable();
}

void TForm_main::ShowFromTray() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TForm_main::StandBy() {
    if (HasTray())
        hide();
    else
        showMinimized();
}

void TForm_main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && HasTray()) {
        // Minimizing means going to the tray; hide once the state change is done.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) hide();
        });
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Activated();
    }
}

void TForm_main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
}

// ---- data file ----

QString TForm_main::GetDataFileName() {
    return default_data_file(reg_);
}

void TForm_main::NewDocument() {
    TodoDoc->Clear();
    TodoDoc->SetTagName(todo::kRootTag);
}

TNoxPigger* TForm_main::FindOrAddChild(TNoxPigger* parent, const std::string& tagName) {
    if (!parent) return nullptr;
    if (TNoxPigger* c = parent->FindChild(tagName)) return c;
    return parent->AddChild(tagName);
}

bool TForm_main::LoadDataFile() {
    const QString name = GetDataFileName();
    bool loaded = false;
    try {
        TodoDoc->LoadFromFile(QFile::encodeName(name).toStdString());
        // An empty file holds no element; it would never save what is added to it.
        loaded = !TodoDoc->TagName().empty();
    } catch (const std::exception&) {
        loaded = false;
    }
    if (loaded) return true;

    NewDocument();
    const QFileInfo info(name);
    if (info.exists() && !(info.isFile() && info.size() == 0)) {
        // Set before the message: while it is open, timers and the tray menu still run, and none of them
        // may write the empty document over the file that failed.
        NoSaveOnExit = true;
        if (reg_.settings) reg_.settings->SetDataFileName(default_data_file(reg_));
        ShowShellMessage(QStringLiteral("File ") + name + QStringLiteral(" has wrong format."));
        // The close sequence runs with its final save skipped, so the broken file stays as it is.
        close();
        return false;
    }
    SaveDataFile(name);
    return true;
}

bool TForm_main::SaveDataFile(const QString& fileName) {
    // After a wrong-format file the program is ending and the setting already names the default file:
    // the empty document must not land there either.
    if (NoSaveOnExit) {
        LastSaveError = QStringLiteral("The program is ending without saving.");
        return false;
    }
    QString error;
    const bool ok = save_data_file(*TodoDoc, fileName, BackupOnSave, &error);
    LastSaveError = ok ? QString() : error;
    return ok;
}

bool TForm_main::SaveData() {
    return SaveDataFile(GetDataFileName());
}

void TForm_main::Activated() {}

// ---- help ----

QString TForm_main::HelpPage(const QString& topic) const {
    const QString file = topic.trimmed() + QStringLiteral(".html");
    const QString inHelpDir = QDir(HelpDir).filePath(file);
    if (QFileInfo::exists(inHelpDir)) return inHelpDir;
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList shipped = {
        QDir(appDir).filePath(QStringLiteral("../share/quillmarch/docs")),
        QDir(appDir).filePath(QStringLiteral("docs")),
#ifdef QM_SOURCE_DOCS_DIR
        QStringLiteral(QM_SOURCE_DOCS_DIR),
#endif
    };
    for (const QString& dir : shipped) {
        const QString page = QDir(dir).filePath(file);
        if (QFileInfo::exists(page)) return QDir::cleanPath(page);
    }
    return inHelpDir;
}

void TForm_main::ShowHelp(const QString& topic) {
    // A missing page or browser is not worth a message.
    QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPage(topic)));
}

// ---- exit ----

bool TForm_main::FinalSave() {
    if (NoSaveOnExit || !TodoDoc) return true;
    if (SaveData()) return true;
    return AskQuitUnsaved(
        QStringLiteral("Can not save data file\n\n%1\n%2\n\nQuit without saving the changes?")
            .arg(GetDataFileName(), LastSaveError));
}

void TForm_main::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    CloseHandler();
    if (!FinalSave()) {
        event->ignore();
        CloseCancelled();
        return;
    }
    event->accept();
    closed_ = true;
    Shutdown();
    emit ClosedForGood();
}

void TForm_main::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    if (tray_) {
        tray_->hide();
        delete tray_;
        tray_ = nullptr;
    }
    // Destroying the settings dialog writes the settings file.
    if (ownedSettings_) {
        if (reg_.settings == ownedSettings_.get()) reg_.settings = nullptr;
        ownedSettings_.reset();
    }
}
