#pragma once

#include <QString>
#include <QVector>

// A file a style sheet makes the browser load: an @import, or a url()
// anywhere (pictures, fonts, cursors).
struct StyleReference
{
    int line = 0; // 1-based, counted from the style sheet's first line
    QString target; // escapes decoded
    bool import = false;
};

// The references of a style sheet, a <style> element's text or a style
// attribute, read with the tokenizing rules of CSS: comments and strings
// that are no url() (a `content: "url(x)"`) load nothing; "\" escapes are
// decoded; `url(` takes a string or an unquoted address up to ")".
QVector<StyleReference> styleReferences(const QString &css, int firstLine = 1);
