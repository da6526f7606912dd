#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "app/TF_new_todolist.h"
#include "todo/DayListWidget.h"
#include "todo/rules/DataFileSave.h"
#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

const std::string kEmptyDocument = "\r\n<TODO_DATA DATE_FORMAT=\"M/d/yyyy\"/>";

int ItemCount(const std::string& bytes) {
    TNoxPigger doc;
    doc.SetText(NormalizeLineBreaks(bytes));
    int n = 0;
    for (TNoxPigger* day = doc.FindChild("DAY_DATA"); day; day = doc.FindNextSibling(day))
        n += day->ChildCount();
    return n;
}

class DataFileLifecycle : public ProgramFixture {
protected:
    // Adds an item to today's list the way the window does, so the next save writes it.
    void AddItem(const std::string& text) { main->add_item(main->current_day, text); }
    void SetBackupMode(int mode) {
        reg().settings.SetBackupMode(mode);
        reg().list.BackupOnSave = mode == 2;
    }
};

TEST_F(DataFileLifecycle, FirstStartCreatesTheSettingsAndAnEmptyDataFileBesideTheProgram) {
    Start();
    EXPECT_EQ(ReadBytes(DataFile()), kEmptyDocument);
    EXPECT_TRUE(QFileInfo::exists(SettingsFile()));
    EXPECT_EQ(main->GetDataFileName(), DataFile());
    // No data file setting yet, so the status bar shows no name.
    EXPECT_TRUE(main->StatusPanel1->text().isEmpty());
    EXPECT_NE(main->current_day, nullptr);
    EXPECT_EQ(main->current_day->GetAttr("DATE"), render_day_key(QDate::currentDate()));
    // The print page, attached at start, leaves its first area with an empty font.
    ASSERT_TRUE(Close());
    DestroyMain();
    EXPECT_TRUE(ReadBytes(SettingsFile())
                    .ends_with(">\r\n\t<PRINT_SETTINGS>\r\n\t\t<HEADER>\r\n\t\t\t<FONT/>\r\n\t\t</HEADER>\r\n"
                               "\t</PRINT_SETTINGS>\r\n</SETTINGS>"))
        << ReadBytes(SettingsFile());
}

TEST_F(DataFileLifecycle, ClosingSavesTheListWithoutEmptyDaysAndWritesTheSettings) {
    Start();
    main->go_to_date(QDate(2026, 3, 1)); // visited, stays empty
    main->go_to_today();
    AddItem("Buy milk");
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_NE(ReadBytes(DataFile()).find("3/1/2026"), std::string::npos);
    ASSERT_TRUE(Close());
    const std::string saved = ReadBytes(DataFile());
    EXPECT_EQ(saved.find("3/1/2026"), std::string::npos);
    EXPECT_NE(saved.find("CAPTION=\"Buy milk\""), std::string::npos);
    EXPECT_EQ(ItemCount(saved), 1);
}

TEST_F(DataFileLifecycle, BackupModesKeepOneGenerationAsSet) {
    const QString bak = Path(QStringLiteral("quillmarch.BAK"));

    // Never: no backup at all, not even at exit.
    Start();
    SetBackupMode(0);
    AddItem("one");
    ASSERT_TRUE(main->N_SaveClick());
    AddItem("two");
    ASSERT_TRUE(main->N_SaveClick());
    ASSERT_TRUE(Close());
    EXPECT_FALSE(QFileInfo::exists(bak));
    DestroyMain();

    // On each save: after two saves the backup holds the first, the file the second.
    Start();
    SetBackupMode(2);
    AddItem("three");
    ASSERT_TRUE(main->N_SaveClick());
    AddItem("four");
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_EQ(ItemCount(ReadBytes(bak)), 3);
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 4);
    ASSERT_TRUE(Close());
    DestroyMain();
    QFile::remove(bak);

    // On exit: saves while running make none; closing keeps the last saved state as the backup.
    Start();
    SetBackupMode(1);
    AddItem("five");
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_FALSE(QFileInfo::exists(bak));
    AddItem("six");
    ASSERT_TRUE(Close());
    EXPECT_EQ(ItemCount(ReadBytes(bak)), 5);
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 6);
}

TEST_F(DataFileLifecycle, AWrongFormatFileAtStartIsLeftUntouchedAndTheNextStartUsesTheDefault) {
    const QString broken = Path(QStringLiteral("broken.dat"));
    const std::string garbage = "this is not a list <A>";
    WriteBytes(broken, garbage);
    WriteBytes(SettingsFile(), "\r\n<SETTINGS DATA_FILE_NAME=\"" + broken.toStdString() + "\"/>");

    {
        ModalAnswer answer([&](QWidget* box) {
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), QStringLiteral("File %1 has wrong format.").arg(broken));
            click_button(box, QStringLiteral("OK"));
        });
        Create(ProgramWindows::All, false);
    }
    EXPECT_TRUE(main->IsClosed());
    EXPECT_TRUE(main->NoSaveOnExit());
    EXPECT_EQ(ReadBytes(broken), garbage);
    DestroyMain();

    Start();
    EXPECT_EQ(main->GetDataFileName(), DataFile());
    EXPECT_EQ(ReadBytes(DataFile()), kEmptyDocument);
    EXPECT_EQ(ReadBytes(broken), garbage);
}

TEST_F(DataFileLifecycle, OpeningAWrongFormatFileEndsTheProgramWithoutTouchingIt) {
    Start();
    AddItem("kept");
    const QString broken = Path(QStringLiteral("other.dat"));
    WriteBytes(broken, "<TODO_DATA>");
    main->ChooseOpenFile = [&] { return broken; };
    EXPECT_FALSE(main->N_OpenClick());
    ASSERT_EQ(shellMessages.size(), 1);
    EXPECT_EQ(shellMessages[0], QStringLiteral("File %1 has wrong format.").arg(broken));
    EXPECT_TRUE(main->IsClosed());
    EXPECT_EQ(ReadBytes(broken), "<TODO_DATA>");
    // The outgoing list was saved before the switch.
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
    DestroyMain();
    Start();
    EXPECT_EQ(main->GetDataFileName(), DataFile());
}

TEST_F(DataFileLifecycle, NothingWritesOverAWrongFormatFileWhileItsMessageIsOpen) {
    WriteBytes(SettingsFile(), "\r\n<SETTINGS AUTO_SAVE_TIME=\"60\"/>");
    Start();
    AddItem("Buy milk"); // the user's list is in the default file
    const QString broken = Path(QStringLiteral("other.dat"));
    WriteBytes(broken, "<TODO_DATA>");
    main->ChooseOpenFile = [&] { return broken; };
    // The message is modal: the automatic save and the tray's Exit can run while it is shown.
    main->ShowShellMessage = [&](const QString&) {
        main->Timer_auto_saveTimer();
        main->close();
    };
    EXPECT_FALSE(main->N_OpenClick());
    EXPECT_TRUE(main->IsClosed());
    EXPECT_EQ(ReadBytes(broken), "<TODO_DATA>");
    // Nor over the default file the setting now names, which may hold the user's list.
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
}

TEST_F(DataFileLifecycle, TheBackupSurvivesAnEmptyDataFileAndCanBeOpenedToRestoreIt) {
    const QString bak = Path(QStringLiteral("quillmarch.BAK"));
    WriteBytes(SettingsFile(), "\r\n<SETTINGS BACKUP_MODE=\"2\"/>");
    WriteBytes(bak, "\r\n<TODO_DATA>\r\n\t<DAY_DATA DATE=\"N/A\">\r\n\t\t<TASK "
                    "CAPTION=\"0\"/>\r\n\t</DAY_DATA>\r\n</TODO_DATA>");
    WriteBytes(DataFile(), "");
    Start();
    EXPECT_EQ(ItemCount(ReadBytes(bak)), 1) << "an empty file is no backup";

    // Opening the backup restores it: the save made before the switch leaves it alone.
    AddItem("newer");
    main->ChooseOpenFile = [&] { return bak; };
    ASSERT_TRUE(main->N_OpenClick());
    EXPECT_EQ(main->GetDataFileName(), bak);
    EXPECT_EQ(ItemCount(ReadBytes(bak)), 1);
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
    main->RB_date_off->click();
    ASSERT_EQ(main->LV1->count(), 1);
    EXPECT_EQ(main->LV1->item(0)->text(), QStringLiteral("0"));
}

TEST_F(DataFileLifecycle, AnEmptyDataFileIsTreatedLikeAMissingOne) {
    WriteBytes(DataFile(), "");
    Start();
    EXPECT_TRUE(shellMessages.isEmpty());
    EXPECT_EQ(ReadBytes(DataFile()), kEmptyDocument);
    AddItem("not lost");
    ASSERT_TRUE(main->N_SaveClick());
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
}

TEST_F(DataFileLifecycle, NewAnsweredNoChangesAndSavesNothing) {
    Start();
    AddItem("unsaved");
    const std::string before = ReadBytes(DataFile());
    {
        ModalAnswer answer([](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Confirmation:"));
            click_button(d, QStringLiteral("No"));
        });
        EXPECT_FALSE(main->N_NewClick());
    }
    EXPECT_EQ(ReadBytes(DataFile()), before);
    EXPECT_EQ(main->GetDataFileName(), DataFile());
    EXPECT_EQ(main->LV1->count(), 1);
}

TEST_F(DataFileLifecycle, NewAnsweredYesSavesTheOldListAndStartsAnEmptyOne) {
    Start();
    AddItem("old");
    const QString fresh = Path(QStringLiteral("fresh.dat"));
    {
        ModalAnswer answer([&](QWidget* d) {
            auto* dialog = qobject_cast<TF_new_todolist*>(d);
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(dialog->Edit1->text().startsWith(QStringLiteral("../dat/todo-")));
            // "Change..." opens in the folder the field names, once it is not the initial one.
            const QString folder = Path(QStringLiteral("lists"));
            QDir().mkpath(folder);
            dialog->Edit1->setText(folder + QStringLiteral("/mine.dat"));
            QString shownFolder;
            QTimer poll;
            int ticks = 0;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                    poll.stop();
                    shownFolder = files->directory().absolutePath();
                    files->reject();
                } else if (++ticks > 250 && modal && modal != d) {
                    modal->close(); // some other window: fail rather than hang
                }
            });
            poll.start(20);
            dialog->SB_file_name->click();
            EXPECT_EQ(shownFolder, QDir(folder).absolutePath());
            EXPECT_EQ(dialog->Edit1->text(), folder + QStringLiteral("/mine.dat")) << "cancelled";

            dialog->ChooseFile = [&](const QString&) { return fresh; };
            dialog->SB_file_name->click();
            EXPECT_EQ(dialog->Edit1->text(), fresh);
            click_button(d, QStringLiteral("Yes"));
        });
        EXPECT_TRUE(main->N_NewClick());
    }
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
    EXPECT_EQ(ReadBytes(fresh), kEmptyDocument);
    EXPECT_EQ(main->GetDataFileName(), fresh);
    EXPECT_EQ(main->StatusPanel1->text(), fresh);
    EXPECT_EQ(main->LV1->count(), 0);
}

TEST_F(DataFileLifecycle, NewOntoAnExistingListOpensItAndOntoABrokenOneEndsWithoutTouchingIt) {
    Start();
    AddItem("old");
    const QString existing = Path(QStringLiteral("existing.dat"));
    const std::string kept =
        "\r\n<TODO_DATA>\r\n\t<DAY_DATA DATE=\"N/A\">\r\n\t\t<TASK CAPTION=\"kept\"/>\r\n"
        "\t</DAY_DATA>\r\n</TODO_DATA>";
    WriteBytes(existing, kept);
    auto answerNew = [&](const QString& file) {
        return ModalAnswer([file](QWidget* d) {
            auto* dialog = qobject_cast<TF_new_todolist*>(d);
            ASSERT_NE(dialog, nullptr);
            dialog->ChooseFile = [file](const QString&) { return file; };
            dialog->SB_file_name->click();
            click_button(d, QStringLiteral("Yes"));
        });
    };
    {
        ModalAnswer answer = answerNew(existing);
        EXPECT_TRUE(main->N_NewClick());
    }
    EXPECT_EQ(ReadBytes(existing), kept) << "a list that parses is simply opened";
    EXPECT_EQ(main->GetDataFileName(), existing);
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);

    const QString broken = Path(QStringLiteral("broken.dat"));
    WriteBytes(broken, "<TODO_DATA><TASK>");
    main->ShowShellMessage = [](const QString&) {};
    {
        ModalAnswer answer = answerNew(broken);
        EXPECT_FALSE(main->N_NewClick());
    }
    EXPECT_TRUE(main->IsClosed());
    EXPECT_EQ(ReadBytes(broken), "<TODO_DATA><TASK>");
    EXPECT_EQ(ItemCount(ReadBytes(existing)), 1) << "the outgoing list was saved first";
}

TEST_F(DataFileLifecycle, SaveAsOntoTheCurrentFileSavesAndReloads) {
    Start();
    AddItem("same file");
    main->ChooseSaveFile = [&] { return DataFile(); };
    ASSERT_TRUE(main->N_SaveasClick());
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
    EXPECT_EQ(main->LV1->count(), 1);
    EXPECT_EQ(main->LV1->item(0)->text(), QStringLiteral("same file"));

    // Onto another file: the list moves there, the old file keeps its last saved state.
    const QString other = Path(QStringLiteral("other.dat"));
    AddItem("second");
    main->ChooseSaveFile = [&] { return other; };
    ASSERT_TRUE(main->N_SaveasClick());
    EXPECT_EQ(ItemCount(ReadBytes(other)), 2);
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
    EXPECT_EQ(main->GetDataFileName(), other);
}

TEST_F(DataFileLifecycle, AFailedSaveKeepsTheListAndStopsTheCommandsThatWouldReplaceIt) {
    // The list's folder disappears while the program runs: no save can reach it.
    const QString locked = Path(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkpath(locked));
    const QString file = QDir(locked).filePath(QStringLiteral("list.dat"));
    WriteBytes(file, kEmptyDocument);
    WriteBytes(SettingsFile(),
               "\r\n<SETTINGS AUTO_SAVE_TIME=\"60\" DATA_FILE_NAME=\"" + file.toStdString() + "\"/>");
    Start();
    AddItem("precious");
    ASSERT_TRUE(QDir(locked).removeRecursively());

    EXPECT_FALSE(main->N_SaveClick());
    EXPECT_FALSE(reg().list.LastSaveError.isEmpty());

    main->ChooseOpenFile = [&] { return DataFile(); };
    EXPECT_FALSE(main->N_OpenClick());
    EXPECT_EQ(main->GetDataFileName(), file);
    EXPECT_EQ(main->LV1->count(), 1);

    main->ChooseSaveFile = [&] { return QDir(locked).filePath(QStringLiteral("other.dat")); };
    EXPECT_FALSE(main->N_SaveasClick());
    EXPECT_EQ(main->GetDataFileName(), file);
    EXPECT_EQ(main->LV1->count(), 1);

    {
        ModalAnswer answer([](QWidget* d) { click_button(d, QStringLiteral("Yes")); });
        EXPECT_FALSE(main->N_NewClick());
    }
    EXPECT_EQ(main->GetDataFileName(), file);
    EXPECT_EQ(main->LV1->count(), 1);
    EXPECT_EQ(shellMessages.size(), 3);

    // The automatic save tells only once while the failure lasts, and without taking the keyboard.
    shellMessages.clear();
    main->Timer_auto_saveTimer();
    main->Timer_auto_saveTimer();
    EXPECT_EQ(shellNotices.size(), 1);
    EXPECT_TRUE(shellMessages.isEmpty());
    EXPECT_EQ(main->StatusPanel0->text(), QStringLiteral("Not saved"));

    // Exit asks before throwing the list away; staying keeps the window and the list.
    int asked = 0;
    main->AskQuitUnsaved = [&](const QString& text) {
        ++asked;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Can not save data file")));
        return false;
    };
    main->showMaximized();
    EXPECT_FALSE(Close());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(main->LV1->count(), 1);
    EXPECT_NE(main->current_day, nullptr);
    EXPECT_TRUE(main->isMaximized()) << "the close sequence set the window to normal size; staying undoes it";
    EXPECT_TRUE(main->Timer_auto_save->isActive()) << "the automatic save goes on";

    ASSERT_TRUE(QDir().mkpath(locked));
    EXPECT_TRUE(main->N_SaveClick());
    EXPECT_TRUE(main->StatusPanel0->text().isEmpty());
    EXPECT_EQ(ItemCount(ReadBytes(file)), 1);
    EXPECT_TRUE(Close());
}

TEST_F(DataFileLifecycle, TheAutomaticSaveIsArmedFromTheSettingsAndReArmedAfterEachSave) {
    WriteBytes(SettingsFile(), "\r\n<SETTINGS AUTO_SAVE_TIME=\"60\"/>");
    Start();
    EXPECT_TRUE(main->Timer_auto_save->isActive());
    EXPECT_EQ(main->Timer_auto_save->interval(), 60000);
    EXPECT_TRUE(main->Timer_auto_save->isSingleShot());

    AddItem("auto");
    main->Timer_auto_saveTimer();
    EXPECT_EQ(ItemCount(ReadBytes(DataFile())), 1);
    EXPECT_TRUE(main->Timer_auto_save->isActive());
    EXPECT_EQ(main->Timer_auto_save->interval(), 60000);

    // Switched off: the timer stays idle.
    reg().settings.SetAutoSave(false, 0);
    main->ArmAutoSave();
    EXPECT_FALSE(main->Timer_auto_save->isActive());
}

TEST(DataFileSave, BackupNameReplacesTheExtensionWithUpperCaseBak) {
    EXPECT_EQ(backup_file_name(QStringLiteral("/x/todo-06-12-2026.dat")),
              QStringLiteral("/x/todo-06-12-2026.BAK"));
    EXPECT_EQ(backup_file_name(QStringLiteral("/x/list")), QStringLiteral("/x/list.BAK"));
}

} // namespace

namespace {

TEST_F(DataFileLifecycle, HelpPagesComeFromTheHelpFolderOrFromTheCopyShippedWithTheProgram) {
    // The help folder is ../docs from the folder the program starts in.
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("docs"))));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("bin"))));
    const QString before = QDir::currentPath();
    QDir::setCurrent(Path(QStringLiteral("bin")));
    Start();
    QDir::setCurrent(before);
    EXPECT_EQ(main->HelpDir, QDir(Path(QStringLiteral("docs"))).canonicalPath());
    DestroyMain();

    // Without a sibling ../docs it is the start folder itself.
    ASSERT_TRUE(QDir(Path(QStringLiteral("docs"))).removeRecursively());
    QDir::setCurrent(Path(QStringLiteral("bin")));
    Start();
    QDir::setCurrent(before);
    EXPECT_EQ(main->HelpDir, QDir(Path(QStringLiteral("bin"))).canonicalPath());

    WriteBytes(QDir(main->HelpDir).filePath(QStringLiteral("print.html")), "<html></html>");
    EXPECT_EQ(main->HelpPage(QStringLiteral(" print ")),
              QDir(main->HelpDir).filePath(QStringLiteral("print.html")));
    // A page the help folder lacks opens from the pages that come with the program.
    const QString shipped = main->HelpPage(QStringLiteral("index"));
    EXPECT_TRUE(shipped.endsWith(QStringLiteral("/docs/index.html"))) << shipped.toStdString();
    EXPECT_TRUE(QFileInfo::exists(shipped));
}

} // namespace
