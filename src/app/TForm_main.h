// The shell window every main window derives from: the tray icon and its menu, the help folder, and the
// order of start-up and exit. The open list (document, file, saving) is the TodoList of the registry;
// the operations on it keep their names here as forwards.
#pragma once

#include "markup/NoxPigger.h"
#include "ui/WindowRegistry.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QSystemTrayIcon;

class TForm_main : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm_main(WindowRegistry& registry, QWidget* parent = nullptr);
    ~TForm_main() override;

    WindowRegistry& Registry() const { return reg_; }

    // The creation handler: finds the help folder, loads the data file, adds the tray icon. Run once, by
    // whoever creates the window, after the derived window has built its controls.
    virtual void FormCreate();

    // Tray menu.
    QMenu* PM1 = nullptr;
    QAction* N_show = nullptr;
    QAction* N1 = nullptr;
    QAction* N_exit = nullptr;

    QString StartDir;
    QString HelpDir;

    // The open list's operations.
    TNoxPigger* TodoDoc() const;
    bool NoSaveOnExit() const;
    bool SaveDataFile(const QString& fileName);
    bool SaveData();
    void NewDocument();
    TNoxPigger* FindOrAddChild(TNoxPigger* parent, const std::string& tagName);
    QString GetDataFileName() const;
    // Loads the data file. False when it could not be loaded: the message was shown and the window is
    // closing without saving.
    bool LoadDataFile();
    // Tells the user what the list's last load has to say: a broken or unreachable file ends the program
    // (after offering a good backup), a recovery copy is offered. False when the program is ending.
    bool AfterLoad(const QString& fileName);
    // Tells the user a list did not load, and ends the program without saving.
    void EndForWrongFormat(const QString& fileName);

    virtual void Activated();

    void ShowHelp(const QString& topic);
    // The help page a topic opens: in HelpDir, or the copy shipped with the program when HelpDir lacks it.
    QString HelpPage(const QString& topic) const;

    // Shows the window again from the tray (or from its minimized state).
    void ShowFromTray();
    // Stand by: hides to the tray; minimizes where the desktop has no tray, so it stays reachable.
    void StandBy();
    bool HasTray() const;
    QSystemTrayIcon* TrayIcon() const { return tray_; }

    // Whether the close sequence has run to its end; start-up checks it after a wrong-format file.
    bool IsClosed() const { return closed_; }

    // Lets tests replace the plain message boxes of the shell.
    std::function<void(const QString&)> ShowShellMessage;
    // A notice that takes nothing from the user (no focus, no open edit closed): the tray's message
    // balloon where there is a tray; the status bar says the rest.
    std::function<void(const QString&)> ShowShellNotice;
    // Asked when the final save failed: true to quit anyway, false to keep the window open.
    std::function<bool(const QString&)> AskQuitUnsaved;
    // Asked when a recovery copy of unsaved changes was left: true to restore it, false to discard it.
    std::function<bool(const QString&)> AskRestoreRecovery;
    // Asked when a list of the wrong format has a good backup: true to restore the backup.
    std::function<bool(const QString&)> AskRestoreBackup;

signals:
    // The close sequence has finished: the program ends.
    void ClosedForGood();

protected:
    // The derived window's close handler runs first.
    virtual void CloseHandler() {}
    // After the final save failed and the user chose to stay.
    virtual void CloseCancelled() {}
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool FinalSave();
    void Shutdown();

    WindowRegistry& reg_;
    QSystemTrayIcon* tray_ = nullptr;
    bool closed_ = false;
    bool shutDown_ = false;
};
