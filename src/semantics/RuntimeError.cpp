#include "semantics/RuntimeError.h"

RuntimeError::RuntimeError(int number, QString description, QString path, QString source)
    : m_number(number)
    , m_description(std::move(description))
    , m_path(std::move(path))
    , m_source(std::move(source))
{
    m_what = QStringLiteral("%1 %2").arg(m_number).arg(m_description).toUtf8();
    if (!m_path.isEmpty())
        m_what += " (" + m_path.toUtf8() + ")";
}

RuntimeError RuntimeError::overflow() { return RuntimeError(6, QStringLiteral("Overflow")); }

RuntimeError RuntimeError::subscriptOutOfRange()
{
    return RuntimeError(9, QStringLiteral("Subscript out of range"));
}

RuntimeError RuntimeError::divisionByZero()
{
    return RuntimeError(11, QStringLiteral("Division by zero"));
}

RuntimeError RuntimeError::invalidProcedureCall()
{
    return RuntimeError(5, QStringLiteral("Invalid procedure call or argument"));
}

RuntimeError RuntimeError::fileNotFound(const QString &path)
{
    return RuntimeError(53, QStringLiteral("File not found"), path);
}

RuntimeError RuntimeError::invalidPicture(const QString &path)
{
    return RuntimeError(481, QStringLiteral("Invalid picture"), path);
}
