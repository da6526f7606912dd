// Runs quillmarch-tool as a separate process in a folder of the test's own.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

struct ToolRun {
    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;

    // The messages written to standard error, one per line.
    QList<QByteArray> errLines() const {
        QList<QByteArray> lines = err.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }
};

inline ToolRun run_tool(const QString& workDir, const QStringList& args, const QByteArray& input,
                        const QProcessEnvironment& env) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QM_TOOL_PATH), args);
    ToolRun r;
    if (!p.waitForStarted(30000)) {
        ADD_FAILURE() << "quillmarch-tool did not start: " << p.errorString().toStdString();
        return r;
    }
    if (!input.isEmpty()) p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "quillmarch-tool did not finish";
    }
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// A scratch folder with helpers to write and read files in it by relative name.
class ToolFolder {
public:
    ToolFolder() {
        EXPECT_TRUE(dir_.isValid() && runtime_.isValid() && state_.isValid());
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_TIME"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), state_.path());
    }

    QString path() const { return dir_.path(); }
    std::string file(const QString& name) const { return QDir(dir_.path()).filePath(name).toStdString(); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(QDir(dir_.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray read(const QString& name) const {
        QFile f(QDir(dir_.path()).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
        return f.readAll();
    }
    bool exists(const QString& name) const { return QFile::exists(QDir(dir_.path()).filePath(name)); }
    // Every name in the folder, hidden files, pipes and links included, as "a, b, c".
    std::string entries() const {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)
            .join(", ")
            .toStdString();
    }

    // The tool runs under the locale a test names (dates of lists follow it), en_US unless said otherwise.
    ToolRun run(const QStringList& args, const QByteArray& input = {},
                const QString& locale = QStringLiteral("en_US.UTF-8")) const {
        QProcessEnvironment withLocale = env;
        withLocale.insert(QStringLiteral("LANG"), locale);
        return run_tool(dir_.path(), args, input, withLocale);
    }
    QString stateHome() const { return state_.path(); }

    // What the tool runs with: a runtime folder (list locks) and a state folder (recovery copies) of the
    // folder's own. A helper process sharing the tool's view of them gets the same.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

private:
    QTemporaryDir dir_;
    QTemporaryDir runtime_;
    QTemporaryDir state_;
};
