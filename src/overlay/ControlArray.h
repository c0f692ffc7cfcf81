#pragma once

#include "overlay/PictureBox.h"
#include "semantics/RuntimeError.h"

#include <QObject>
#include <map>

// A control array of picture boxes: element 0 is created with the form, the
// others by Load, each a hidden copy of element 0's settings. The form paints
// the elements; each takes the input over it. A click on any
// element is the array's click, with the element's index.
class ControlArray : public QObject
{
    Q_OBJECT

public:
    ControlArray(QWidget *parent, const TwipsScale &scale)
        : m_parent(parent)
        , m_scale(scale)
    { }

    // Element `index`; an element that was never loaded is run-time error 340.
    PictureBox &operator()(int index) const
    {
        const auto it = m_elements.find(index);
        if (it == m_elements.end())
            throw RuntimeError(
                340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        return *it->second;
    }

    bool exists(int index) const { return m_elements.count(index) != 0; }
    int count() const { return static_cast<int>(m_elements.size()); }

    // Creates element 0 (with the form).
    PictureBox &createFirst()
    {
        auto *box = new PictureBox(m_parent, m_scale, 0);
        box->setPaintedByParent();
        connect(box, &PictureBox::clicked, this, &ControlArray::clicked);
        m_elements[0] = box;
        return *box;
    }

    // Load: a new element `index` with element 0's settings, hidden. Loading an
    // element that exists is run-time error 360; indexes are Integer-sized.
    PictureBox &Load(int index)
    {
        if (index < 0 || index > 32767)
            throw RuntimeError::subscriptOutOfRange();
        if (exists(index))
            throw RuntimeError(360, QStringLiteral("Object already loaded"));
        const PictureBox &first = (*this)(0);
        auto *box = new PictureBox(m_parent, m_scale, static_cast<qint16>(index));
        box->setPaintedByParent();
        box->hide();
        box->copySettingsFrom(first);
        connect(box, &PictureBox::clicked, this, &ControlArray::clicked);
        m_elements[index] = box;
        return *box;
    }

signals:
    void clicked(qint16 index);

private:
    QWidget *m_parent;
    TwipsScale m_scale;
    std::map<int, PictureBox *> m_elements; // owned by the parent widget
};
