#pragma once

#include <QString>

// Where the visualisation keeps what the overlay reads, as Windows paths
// (mapped onto this file system where they are opened). The overlay and the
// help author's check take every name from here.
namespace VisuLayout {

// The temporary root when TEMPVISU is not set.
inline QString defaultTemporaryRoot()
{
    return QStringLiteral("C:\\Temp");
}

// The working folder (TempPfad) below the temporary root.
inline QString workingFolder(const QString &temporaryRoot)
{
    return temporaryRoot + QStringLiteral("\\Kestrel");
}

// What the visualisation writes into the working folder for each request.
inline QString descriptionFile(const QString &tempPfad)
{
    return tempPfad + QStringLiteral("\\Tavlin.txt");
}
inline QString screenshotFile(const QString &tempPfad)
{
    return tempPfad + QStringLiteral("\\TavlinScreen.bmp");
}

// Below the installation folder (VisuPfad, which ends in "\"): the help
// pages, one folder per language, ...
inline QString helpFolder(const QString &visuPfad)
{
    return visuPfad + QStringLiteral("Program\\Help\\Tavlin\\");
}
inline QString helpPage(const QString &visuPfad, const QString &language, const QString &tag)
{
    return helpFolder(visuPfad) + language + QLatin1Char('\\') + tag + QStringLiteral(".html");
}
// ... the language table ...
inline QString languageTable(const QString &visuPfad)
{
    return visuPfad + QStringLiteral("Program\\Tools\\Languages.mdb");
}
// ... and the footer help button's picture for a display width ("1280").
inline QString footerButtonImage(const QString &visuPfad, const QString &width)
{
    return visuPfad + QStringLiteral("Standard\\KalvoFußzeile\\KalvoFußzeileHelp_") + width
        + QStringLiteral(".gif");
}

// The description's name (upper case) of the footer bar, which gets no symbol.
inline const QString kFooterName = QStringLiteral("FUßZEILE");

} // namespace VisuLayout
