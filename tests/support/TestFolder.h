// A scratch folder of the test's own, with byte-exact reading and writing of the files in it.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

class TestFolder {
public:
    TestFolder() { EXPECT_TRUE(dir_.isValid()); }

    QString path() const { return dir_.path(); }
    QString Path(const QString& name) const { return QDir(dir_.path()).filePath(name); }

    // The file's bytes; "<missing>" when it cannot be read.
    static std::string ReadBytes(const QString& file) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    static void WriteBytes(const QString& file, const std::string& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        ASSERT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())),
                  static_cast<qint64>(bytes.size()));
    }

private:
    QTemporaryDir dir_;
};
