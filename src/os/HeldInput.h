#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QEvent;

// While it lives, the operator's input (mouse, touch, wheel, keys) reaches no
// window of the program: it is kept, in order, and handed back to the event
// loop when this ends, so that it is handled after what ran meanwhile and no
// handler runs inside it.
class HeldInput : public QObject
{
public:
    HeldInput();
    ~HeldInput() override;
    HeldInput(const HeldInput &) = delete;
    HeldInput &operator=(const HeldInput &) = delete;

    // Forgets what was held: it was meant for what is now ending.
    void discard();

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;

private:
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::vector<Held> m_held;
};
