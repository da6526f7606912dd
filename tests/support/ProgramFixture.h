// The program set up in a temporary folder: the settings and data files live beside a pretend program
// file there, and the windows are created by the program's own code, only those a test asks for.
#pragma once

#include "TestFolder.h"
#include "program/ProgramWindows.h"
#include "todo/TFmain.h"

#include <QFile>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// A program of its own folder with only the given windows, for tests that need nothing else.
struct TestProgram {
    explicit TestProgram(unsigned windows = 0) { program.Create(windows); }
    WindowRegistry& reg() { return program.registry; }

    TestFolder folder;
    // Recovery copies go into the test's folder too.
    bool stateInFolder = qputenv("XDG_STATE_HOME", QFile::encodeName(folder.Path(QStringLiteral("state"))));
    ProgramWindows program{folder.Path(QStringLiteral("quillmarch"))};
};

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& name) const { return folder.Path(name); }
    QString DataFile() const { return Path(QStringLiteral("quillmarch.dat")); }
    QString SettingsFile() const { return Path(QStringLiteral("quillmarch.set")); }
    static std::string ReadBytes(const QString& file) { return TestFolder::ReadBytes(file); }
    static void WriteBytes(const QString& file, const std::string& bytes) {
        TestFolder::WriteBytes(file, bytes);
    }

    // Starts the program: the settings are loaded, then the windows asked for are created, the main
    // window loading the list. The shell's messages are collected unless the real boxes are wanted;
    // prepare runs on the main window before it loads the list.
    ProgramWindows& Create(unsigned windows, bool collectMessages = true,
                           std::function<void(TFmain&)> prepare = {});
    // The whole program.
    TFmain& Start();
    // Closes the main window through its close sequence; false when it stayed open.
    bool Close();
    // Ends the program: every window goes, the settings are written.
    void DestroyMain();
    WindowRegistry& reg() { return program->registry; }

    TestFolder folder;
    std::unique_ptr<ProgramWindows> program;
    TFmain* main = nullptr;
    QStringList shellMessages;
    QStringList shellNotices;

private:
    QString startDir_;
};
