#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// A link, picture, style sheet, script or frame a help page refers to.
struct PageReference
{
    int line = 0; // 1-based
    QString element; // the element and attribute, e.g. <img src="x.png">
    QString target; // the attribute's value, entities decoded
};

// The references of a page: href and src (and an object's data) of the
// elements that make the help window load or go somewhere. Comments are
// skipped; fragment-only links ("#top") are no reference.
QVector<PageReference> pageReferences(const QByteArray &html);
