#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVector>

// A link, picture, style sheet, script, frame or other file a help page
// refers to.
struct PageReference
{
    int line = 0; // 1-based
    QString element; // the element and attribute, e.g. <img src="x.png">
    QString target; // the attribute's value, entities decoded
};

// What a help page refers to, read as the browser reads it (an HTML5
// tokenizer and tree builder):
//  - href of a, area and link; src of img, script, iframe, frame, embed,
//    source, video, audio, track and input; data of object; every address
//    of srcset (img, source); poster of video; background of body, table,
//    td and th; the address of a <meta http-equiv="refresh">;
//  - url() and @import of <style> elements and style attributes;
//  - links to a place in the page itself ("#top") too.
// Comments, and text that only looks like markup, refer to nothing.
struct PageLinks
{
    QString base; // <base href>, which every relative address starts from
    QVector<PageReference> references;
    QSet<QString> anchors; // the ids, and the names of <a>, a "#" link can reach
    QString charset; // as <meta charset> or a content type declares it, lower case
    QVector<PageReference> newWindows; // links with target="_blank"
};

PageLinks pageLinks(const QByteArray &html);
