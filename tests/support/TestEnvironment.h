#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test its own settings, data and temporary folders, so it never reads or writes
// the real user's registry file or program folder. Create one before the QApplication
// (QTEST_MAIN does so through initMain(), see REELCRAFT_TEST_MAIN below).
class TestEnvironment
{
public:
    TestEnvironment();
    static TestEnvironment &instance();

    QString root() const { return m_dir.path(); }
    QString configHome() const { return m_dir.path() + QStringLiteral("/config"); }
    QString dataHome() const { return m_dir.path() + QStringLiteral("/data"); }
    QString tempFolder() const { return m_dir.path() + QStringLiteral("/tmp"); }
    // A fresh empty folder below root() for one test case.
    QString freshFolder(const QString &name) const;

private:
    QTemporaryDir m_dir;
};
