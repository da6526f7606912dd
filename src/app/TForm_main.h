// The shell window every main window derives from: owns the to-do document and its file, the tray icon
// and its menu, the help folder, and the order of start-up and exit.
#pragma once

#include "NoxPigger.h"
#include "WindowRegistry.h"

#include <QMainWindow>
#include <QString>
#include <memory>
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

    // Writes the document, with a backup first when BackupOnSave. Returns whether it reached the disk.
    virtual bool SaveDataFile(const QString& fileName);
    virtual bool SaveData();
    virtual void NewDocument();
    virtual TNoxPigger* FindOrAddChild(TNoxPigger* parent, const std::string& tagName);
    virtual QString GetDataFileName();
    virtual void Activated();

    // Loads the data file; returns false when it had the wrong format (the program is then closing).
    bool LoadDataFile();
    void ShowHelp(const QString& topic);

    // The tray icon, or none where the desktop has no notification area.
    QSystemTrayIcon* TrayIcon() const { return tray_; }

protected:
    // The creation handler: runs once the derived window has built its controls, since the data file
    // name and the rest depend on the derived class.
    virtual void FormCreate();

private:
    WindowRegistry& reg_;
    QSystemTrayIcon* tray_ = nullptr;
};
