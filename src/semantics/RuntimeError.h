#pragma once

#include <QString>
#include <exception>

// A run-time error as the classic runtime raises it: a number, a description
// and the source (the project's name for errors of the program itself).
// File errors also carry the path as the program built it, so that the
// standard message can name the file.
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description, QString path = QString(),
                 QString source = QStringLiteral("Tavlin"));

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }
    const QString &path() const { return m_path; }
    const char *what() const noexcept override { return m_what.constData(); }

    static RuntimeError overflow();
    static RuntimeError subscriptOutOfRange();
    static RuntimeError divisionByZero();
    static RuntimeError invalidProcedureCall();
    static RuntimeError fileNotFound(const QString &path);
    static RuntimeError invalidPicture(const QString &path);

private:
    int m_number;
    QString m_description;
    QString m_path;
    QString m_source;
    QByteArray m_what;
};

// Thrown by EndProgram to unwind to the outermost guard once the program end
// has been requested. Deliberately not derived from std::exception so that no
// handler for ordinary errors swallows it.
struct ProgramEnded
{
};
