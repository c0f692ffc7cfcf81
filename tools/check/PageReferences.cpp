#include "check/PageReferences.h"

#include "check/StyleReferences.h"

#include <gumbo.h>

#include <cstring>
#include <memory>

namespace {

struct Loads
{
    const char *tags; // " a area " ...
    const char *attribute;
};

// The attributes that make the help window load or go somewhere.
constexpr Loads kLoads[] = {
    { " a area link ", "href" },
    { " img script iframe frame embed source video audio track input ", "src" },
    { " object ", "data" },
    { " img source ", "srcset" },
    { " video ", "poster" },
    { " body table td th ", "background" },
};

QString tagName(const GumboElement &element)
{
    if (element.tag != GUMBO_TAG_UNKNOWN)
        return QString::fromLatin1(gumbo_normalized_tagname(element.tag));
    GumboStringPiece original = element.original_tag;
    gumbo_tag_from_original_text(&original);
    return QString::fromUtf8(original.data, qsizetype(original.length)).toLower();
}

const GumboAttribute *attribute(const GumboElement &element, const char *name)
{
    return gumbo_get_attribute(&element.attributes, name);
}

// The addresses of a srcset: each candidate's first word.
QStringList srcsetAddresses(const QString &srcset)
{
    QStringList addresses;
    for (const QString &candidate : srcset.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString address
            = candidate.trimmed().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (!address.isEmpty())
            addresses << address;
    }
    return addresses;
}

// The address of a refresh: "5; url=next.html" (or without "url=").
QString refreshAddress(const QString &content)
{
    QString rest = content.section(QLatin1Char(';'), 1).trimmed();
    if (rest.startsWith(QLatin1String("url"), Qt::CaseInsensitive)) {
        const qsizetype equals = rest.indexOf(QLatin1Char('='));
        rest = equals < 0 ? QString() : rest.mid(equals + 1).trimmed();
    }
    if (rest.size() >= 2 && (rest.front() == QLatin1Char('"') || rest.front() == QLatin1Char('\''))
        && rest.back() == rest.front())
        rest = rest.mid(1, rest.size() - 2);
    return rest;
}

class Walker
{
public:
    PageLinks links;

    void walk(const GumboNode *node)
    {
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            return;
        const GumboElement &element = node->v.element;
        const QString tag = tagName(element);
        visit(element, tag);
        for (unsigned i = 0; i < element.children.length; ++i) {
            const auto *child = static_cast<const GumboNode *>(element.children.data[i]);
            if (tag == QLatin1String("style") && child->type == GUMBO_NODE_TEXT)
                addStyle(
                    tag, QString::fromUtf8(child->v.text.text), int(child->v.text.start_pos.line));
            walk(child);
        }
    }

private:
    void add(int line, const QString &tag, const QString &name, const QString &target)
    {
        const QString trimmed = target.trimmed();
        if (trimmed.isEmpty())
            return;
        links.references.append(
            { line, QStringLiteral("<%1 %2=\"%3\">").arg(tag, name, trimmed), trimmed });
    }

    void addStyle(const QString &tag, const QString &css, int line)
    {
        for (const StyleReference &r : styleReferences(css, line))
            add(r.line, tag, r.import ? QStringLiteral("@import") : QStringLiteral("url()"),
                r.target);
    }

    // <meta charset="..."> or <meta http-equiv="Content-Type" content="...; charset=...">.
    void readCharset(const GumboElement &element, const GumboAttribute *content)
    {
        if (!links.charset.isEmpty())
            return;
        if (const GumboAttribute *charset = attribute(element, "charset")) {
            links.charset = QString::fromUtf8(charset->value).trimmed().toLower();
        } else if (content) {
            const QString type = QString::fromUtf8(content->value).toLower();
            const qsizetype at = type.indexOf(QLatin1String("charset="));
            if (at >= 0)
                links.charset = type.mid(at + 8).section(QLatin1Char(';'), 0, 0).trimmed();
        }
    }

    void visit(const GumboElement &element, const QString &tag)
    {
        const QString padded = QLatin1Char(' ') + tag + QLatin1Char(' ');
        for (const Loads &loads : kLoads) {
            const GumboAttribute *a = attribute(element, loads.attribute);
            if (!a || !QLatin1String(loads.tags).contains(padded))
                continue;
            const QString value = QString::fromUtf8(a->value);
            const QStringList targets = std::strcmp(loads.attribute, "srcset") == 0
                ? srcsetAddresses(value)
                : QStringList { value };
            for (const QString &target : targets)
                add(int(a->value_start.line), tag, QLatin1String(loads.attribute), target);
        }
        if (const GumboAttribute *id = attribute(element, "id"))
            links.anchors.insert(QString::fromUtf8(id->value));
        const GumboAttribute *name = attribute(element, "name");
        if (name && tag == QLatin1String("a"))
            links.anchors.insert(QString::fromUtf8(name->value));
        const GumboAttribute *href = attribute(element, "href");
        if (tag == QLatin1String("base") && href && links.base.isNull())
            links.base = QString::fromUtf8(href->value).trimmed();
        const GumboAttribute *equiv = attribute(element, "http-equiv");
        const GumboAttribute *content = attribute(element, "content");
        if (tag == QLatin1String("meta") && equiv && content
            && QString::fromUtf8(equiv->value)
                    .compare(QLatin1String("refresh"), Qt::CaseInsensitive)
                == 0)
            add(int(content->value_start.line), tag, QStringLiteral("content"),
                refreshAddress(QString::fromUtf8(content->value)));
        if (tag == QLatin1String("meta"))
            readCharset(element, content);
        const GumboAttribute *target = attribute(element, "target");
        if (href && target && (tag == QLatin1String("a") || tag == QLatin1String("area"))
            && QString::fromUtf8(target->value)
                    .compare(QLatin1String("_blank"), Qt::CaseInsensitive)
                == 0)
            links.newWindows.append(
                { int(target->value_start.line), QStringLiteral("<%1 target=\"_blank\">").arg(tag),
                    QString::fromUtf8(href->value) });
        if (const GumboAttribute *style = attribute(element, "style"))
            addStyle(tag, QString::fromUtf8(style->value), int(style->value_start.line));
    }
};

} // namespace

PageLinks pageLinks(const QByteArray &html)
{
    const std::unique_ptr<GumboOutput, void (*)(GumboOutput *)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, html.constData(), size_t(html.size())),
        [](GumboOutput *o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
    Walker walker;
    walker.walk(output->root);
    return walker.links;
}
