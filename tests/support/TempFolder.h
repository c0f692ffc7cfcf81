#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for a test's real files, removed afterwards.
class TempFolder
{
public:
    QString path() const { return m_dir.path(); }
    // Writes `content` to the relative path `name` (folders are created).
    QString write(const QString &name, const QByteArray &content) const;
    // Writes a plain BMP of the given size and colour.
    QString writeBmp(const QString &name, int width, int height, unsigned rgb = 0x336699) const;

private:
    QTemporaryDir m_dir { QDir::tempPath() + QStringLiteral("/tavlin-test-XXXXXX") };
};

// Restores an environment variable to its former value on destruction.
class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name);
    ~EnvironmentGuard();
    void set(const QString &value) const { qputenv(m_name.constData(), value.toLocal8Bit()); }
    void unset() const { qunsetenv(m_name.constData()); }

private:
    QByteArray m_name;
    QByteArray m_old;
    bool m_wasSet;
};
