// A settings dialog's surroundings for tests: a program file in a temporary folder, a registry with a
// message dialog, and the settings file's bytes.
#pragma once

#include "TD_settings_user.h"
#include "TDmsg.h"
#include "TRadioGroup.h"
#include "WindowRegistry.h"

#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        reg.programFile = dir.filePath("quillmarch");
        msg = std::make_unique<TDmsg>(reg);
        reg.msg = msg.get();
    }

    QString settingsPath() const { return dir.filePath("quillmarch.set"); }

    void writeFile(const QString& path, const QByteArray& bytes) const {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    void writeSettings(const QByteArray& bytes) const { writeFile(settingsPath(), bytes); }

    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QByteArray readSettings() const { return readFile(settingsPath()); }

    static std::string attr(const TD_settings_user& s, const char* name) {
        return s.SettingsDoc->GetAttr(name);
    }

    // The user picks an entry of a drop-down list.
    static void choose(QComboBox* list, const QString& text) {
        const int i = list->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        list->setCurrentIndex(i);
        emit list->activated(i);
    }

    QTemporaryDir dir;
    WindowRegistry reg;
    std::unique_ptr<TDmsg> msg;
};

inline const QByteArray kFreshSettings("\r\n<SETTINGS/>");
