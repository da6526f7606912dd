// The shell window every main window derives from: owns the to-do document and its file, the tray icon
// and its menu, the help folder, and the order of start-up and exit.
#pragma once

#include "NoxPigger.h"
#include "WindowRegistry.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QSystemTrayIcon;
class TD_settings_user;

class TForm_main : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm_main(WindowRegistry& registry, QWidget* parent = nullptr);
    ~TForm_main() override;

    WindowRegistry& Registry() const { return reg_; }

    // Tray menu.
    QMenu* PM1 = nullptr;
    QAction* N_show = nullptr;
    QAction* N1 = nullptr;
    QAction* N_exit = nullptr;

    bool NoSaveOnExit = false;
    QString StartDir;
    QString HelpDir;
    std::unique_ptr<TNoxPigger> TodoDoc;
    bool BackupOnSave = false;
    // Why the last SaveDataFile did not reach the disk; empty after a successful one.
    QString LastSaveError;

    // Writes the document, with a backup first when BackupOnSave. Returns whether it reached the disk.
    virtual bool SaveDataFile(const QString& fileName);
    virtual bool SaveData();
    virtual void NewDocument();
    virtual TNoxPigger* FindOrAddChild(TNoxPigger* parent, const std::string& tagName);
    virtual QString GetDataFileName();
    virtual void Activated();

    // Loads the data file. Returns false when the file had the wrong format: the message was shown and
    // the window is closing without saving.
    bool LoadDataFile();
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
    // Asked when the final save failed: true to quit anyway, false to keep the window open.
    std::function<bool(const QString&)> AskQuitUnsaved;

signals:
    // The close sequence has finished: the program ends.
    void ClosedForGood();

protected:
    // The creation handler: runs once the derived window has built its controls, since the data file
    // name depends on the derived class.
    virtual void FormCreate();
    // The derived window's close handler runs first; returns false to keep the window open.
    virtual void CloseHandler() {}
    // After the final save failed and the user chose to stay.
    virtual void CloseCancelled() {}
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool FinalSave();
    void Shutdown();

    WindowRegistry& reg_;
    QSystemTrayIcon* tray_ = nullptr;
    std::unique_ptr<TD_settings_user> ownedSettings_;
    bool closed_ = false;
    bool shutDown_ = false;
};
