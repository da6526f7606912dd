#include "app/TForm_main.h"

#include "todo/rules/Settings.h"
#include "todo/rules/TodoList.h"
#include "todo/rules/TodoRules.h"
#include "ui/ItemImages.h"
#include "ui/WidgetHelpers.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
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
    setWindowTitle(QStringLiteral("To Do List"));

    PM1 = named(new QMenu(this), "PM1");
    N_show = make_action(this, "N_show", QStringLiteral("Show"));
    N1 = named(new QAction(this), "N1");
    N1->setSeparator(true);
    N_exit = make_action(this, "N_exit", QStringLiteral("&Exit"));
    PM1->addActions({N_show, N1, N_exit});
    connect(N_show, &QAction::triggered, this, &TForm_main::ShowFromTray);
    connect(N_exit, &QAction::triggered, this, &QWidget::close);
    // "Show" only makes sense while the window is hidden.
    connect(PM1, &QMenu::aboutToShow, this, [this] { N_show->setEnabled(isHidden() || isMinimized()); });

    ShowShellMessage = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillmarch"), text, QMessageBox::Ok,
                        isVisible() ? this : nullptr);
        box.setTextFormat(Qt::PlainText); // file names are never markup
        box.exec();
    };
    ShowShellNotice = [this](const QString& text) {
        if (HasTray()) tray_->showMessage(QStringLiteral("Quillmarch"), text, QSystemTrayIcon::Warning);
    };
    AskQuitUnsaved = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillmarch"), text, QMessageBox::NoButton,
                        isVisible() ? this : nullptr);
        box.setTextFormat(Qt::PlainText);
        QPushButton* quit =
            box.addButton(QStringLiteral("Quit without saving"), QMessageBox::DestructiveRole);
        QPushButton* stay = box.addButton(QStringLiteral("Stay"), QMessageBox::RejectRole);
        box.setDefaultButton(stay);
        box.exec();
        return box.clickedButton() == quit;
    };
    AskRestoreBackup = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillmarch"), text, QMessageBox::NoButton,
                        isVisible() ? this : nullptr);
        box.setTextFormat(Qt::PlainText);
        QPushButton* restore = box.addButton(QStringLiteral("Restore backup"), QMessageBox::AcceptRole);
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        box.exec();
        return box.clickedButton() == restore;
    };
    AskRestoreRecovery = [this](const QString& text) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Quillmarch"), text, QMessageBox::NoButton,
                        isVisible() ? this : nullptr);
        box.setTextFormat(Qt::PlainText);
        QPushButton* restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
        box.setDefaultButton(restore);
        box.exec();
        return box.clickedButton() == restore;
    };
}

TForm_main::~TForm_main() {
    Shutdown();
}

void TForm_main::FormCreate() {
    // The help folder is "../docs" from the current directory, falling back to the directory itself.
    StartDir = QDir::currentPath();
    const QDir docs(QDir(StartDir).filePath(QStringLiteral("../docs")));
    HelpDir = docs.exists() ? docs.canonicalPath() : StartDir;

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

// ---- the open list ----

TNoxPigger* TForm_main::TodoDoc() const {
    return &reg_.list.Doc();
}

bool TForm_main::NoSaveOnExit() const {
    return reg_.list.NoSaveOnExit;
}

QString TForm_main::GetDataFileName() const {
    return reg_.list.FileName();
}

void TForm_main::NewDocument() {
    reg_.list.NewDocument();
}

TNoxPigger* TForm_main::FindOrAddChild(TNoxPigger* parent, const std::string& tagName) {
    return todo::find_or_add_child(parent, tagName);
}

bool TForm_main::LoadDataFile() {
    const QString name = GetDataFileName();
    reg_.list.Load();
    return AfterLoad(name);
}

bool TForm_main::AfterLoad(const QString& fileName) {
    TodoList& list = reg_.list;
    switch (list.LastLoad) {
    case TodoList::LoadResult::WrongFormat: {
        const QString text = QStringLiteral("File ") + fileName + QStringLiteral(" has wrong format.");
        // A broken list with a good backup need not lock the user out.
        if (!list.BackupRestorable()) {
            EndForWrongFormat(fileName);
            return false;
        }
        if (AskRestoreBackup(text)) {
            if (list.RestoreBackup()) return LoadDataFile();
            ShowShellMessage(QStringLiteral("The backup of %1 could not be restored.").arg(fileName));
        }
        close();
        return false;
    }
    case TodoList::LoadResult::Unreadable:
        ShowShellMessage(list.LoadError);
        close();
        return false;
    case TodoList::LoadResult::DanglingLink:
        ShowShellMessage(list.LoadError);
        return true;
    case TodoList::LoadResult::Loaded:
    case TodoList::LoadResult::Created:
        break;
    }
    if (list.RecoveryAtLoad) {
        const QString text =
            QStringLiteral("The list was not saved when Quillmarch last stopped. Restore the unsaved "
                           "changes from %1?")
                .arg(QLocale().toString(*list.RecoveryAtLoad, QLocale::ShortFormat));
        if (!AskRestoreRecovery(text) || !list.RestoreRecovery()) list.DiscardRecovery();
    } else if (QFileInfo::exists(list.RecoveryFileName())) {
        // Older than the list: the list was saved after it. Kept aside all the same.
        list.DiscardRecovery();
    }
    return true;
}

void TForm_main::EndForWrongFormat(const QString& fileName) {
    ShowShellMessage(QStringLiteral("File ") + fileName + QStringLiteral(" has wrong format."));
    // The close sequence runs with its final save skipped, so the broken file stays as it is.
    close();
}

bool TForm_main::SaveDataFile(const QString& fileName) {
    return reg_.list.SaveTo(fileName);
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
    if (NoSaveOnExit()) return true;
    if (SaveData()) {
        reg_.list.RemoveRecovery();
        return true;
    }
    const bool quit =
        AskQuitUnsaved(QStringLiteral("Can not save data file\n\n%1\n%2\n\nQuit without saving the changes?")
                           .arg(GetDataFileName(), reg_.list.LastSaveError));
    // What was typed up to the end stays in the recovery copy, offered at the next start.
    if (quit) reg_.list.WriteRecovery();
    return quit;
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
    reg_.settings.Save();
}
