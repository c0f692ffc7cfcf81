#include "overlay/SymbolClick.h"

#include "browser/HelpFiles.h"
#include "helpwindow/HelpForm.h"
#include "model/ScreenContext.h"
#include "model/VisuLayout.h"
#include "os/FileSystem.h"
#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"

SymbolClick::SymbolClick(const ScreenContext &context, Help &help, const Services &services)
    : m_context(context)
    , m_help(help)
    , m_services(services)
{ }

QString SymbolClick::HelpPagePath(qint16 Index) const
{
    if (Index < 0 || Index >= EntryTable::kSlots)
        throw RuntimeError::subscriptOutOfRange();
    return VisuLayout::helpPage(m_context.VisuPfad, m_context.LanguageName,
        m_context.HelpEntries[static_cast<size_t>(Index)].Tag);
}

void SymbolClick::Symbol_Click(qint16 Index)
{
    using namespace Arithmetic;
    const QString path = HelpPagePath(Index);
    const QString helpFolder = VisuLayout::helpFolder(m_context.VisuPfad);
    // A page the help window would refuse (a tag or language folder leading
    // out of the help folder, through ".." or a link) is as good as missing:
    // the operator gets the same word instead of an empty window.
    if (!Dir(path) || !HelpFiles::reachable(helpFolder, path)) {
        m_services.messageBox->show(QStringLiteral("File '") + path + QStringLiteral("' not found"),
            QStringLiteral("Tavlin"));
        return;
    }

    ScreenMetrics &screen = *m_services.screen;
    m_help.setWidth(toSingle(m_context.DispHInt / 1.3 * screen.twipsPerPixelX()));
    m_help.setHeight(toSingle(m_context.DispVInt / 1.3 * screen.twipsPerPixelY()));
    m_help.setLeft((m_context.DispHInt * screen.twipsPerPixelX() - m_help.Width()) / 2);
    m_help.setTop((m_context.DispVInt * screen.twipsPerPixelY() - m_help.Height()) / 2);
    m_help.Adresse = path;
    m_help.HelpFolder = helpFolder;
    m_help.Init();
    m_help.Show();
}
