// A program set up in a temporary folder: the settings and data files live beside a pretend program
// file there, and the dialogs the main window talks to exist.
#pragma once

#include "TD_select_image.h"
#include "TD_settings_user.h"
#include "TDmsg.h"
#include "TF_about.h"
#include "TFmain.h"
#include "TFsure.h"
#include "WindowRegistry.h"

#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& name) const { return dir.filePath(name); }
    QString DataFile() const { return Path(QStringLiteral("quillmarch.dat")); }
    QString SettingsFile() const { return Path(QStringLiteral("quillmarch.set")); }
    static std::string ReadBytes(const QString& file);
    static void WriteBytes(const QString& file, const std::string& bytes);

    // Creates the main window (and with it the settings dialog); messages of the shell are collected.
    TFmain& Start();
    // Closes the main window through its close sequence; false when it stayed open.
    bool Close();
    void DestroyMain();

    QTemporaryDir dir;
    WindowRegistry reg;
    std::unique_ptr<TFsure> sure;
    std::unique_ptr<TDmsg> msg;
    std::unique_ptr<TD_select_image> selectImage;
    std::unique_ptr<TF_about> about;
    std::unique_ptr<TFmain> main;
    QStringList shellMessages;
};
