#pragma once

#include "browser/BrowserView.h"
#include "helpwindow/TwipsGeometry.h"
#include "os/Services.h"

#include <QPointer>
#include <QString>

class HelpWindow;

// Form Help: the help window's form object. Its variables live as long as the
// object; the window itself is loaded on first touch of its size or place,
// unloaded by Ende, and loaded afresh (with its stored make-up) next time.
class Help
{
public:
    // The services are the window's and its handlers' for the form's
    // lifetime; its browser view comes from `browser`.
    Help(const Services &services, BrowserFactory browser);
    ~Help(); // runs Form_Terminate
    Help(const Help &) = delete;
    Help &operator=(const Help &) = delete;

    // The page to show: a Windows path ending in ".html".
    QString Adresse;
    // The folder (a Windows path) whose pages links may lead to; when empty,
    // the folder of Adresse.
    QString HelpFolder;

    // Window place and size in twips, set as Singles; touching one loads the window.
    float Width();
    float Height();
    float Left();
    float Top();
    void setWidth(float twips);
    void setHeight(float twips);
    void setLeft(float twips);
    void setTop(float twips);

    // Lays out the controls from the window's size and starts loading Adresse.
    void Init();
    // Shows the window application-modal and returns; it stays until it is
    // unloaded (by Ende, or when it has not reached the screen in time).
    void Show();
    void Unload();
    bool isLoaded() const { return !m_window.isNull(); }
    HelpWindow *window() const;

    // Event handlers (each runs inside the run-time error guard when the
    // window calls it).
    void Ende_Click();
    void Verschieben_MouseDown(int Button, int Shift, float X, float Y);
    void Verschieben_MouseMove(int Button, int Shift, float X, float Y);
    void Verschieben_MouseUp(int Button, int Shift, float X, float Y);
    void Form_Terminate();

    // The form variables, for inspection.
    qint16 MarginX() const { return m_MarginX; }
    qint16 MarginY() const { return m_MarginY; }
    bool Dragging() const { return m_Dragging; }

private:
    HelpWindow *load();

    const Services m_services;
    const BrowserFactory m_browser;
    const TwipsGeometry m_twips;
    QPointer<HelpWindow> m_window;
    qint16 m_MarginX = 0;
    qint16 m_MarginY = 0;
    float m_DragStartX = 0;
    float m_DragStartY = 0;
    bool m_Dragging = false;
};
