#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <QString>

// What the program says about itself, by subject, so that an integrator can
// turn each up or down (QT_LOGGING_RULES="tavlin.help.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcStartup) // "tavlin.startup": start, end, messages shown
Q_DECLARE_LOGGING_CATEGORY(lcHelp) // "tavlin.help": help pages and the browser engine
Q_DECLARE_LOGGING_CATEGORY(lcLock) // "tavlin.lock": what the help window refused

// Sends the program's messages to the system journal, under the identifier
// "tavlin" with each message's priority and category, when the journal runs;
// they go to stderr otherwise, and whenever the journal takes one no more.
// Call first thing in main(); `socketPath` is the journal's own unless a test
// names another.
void logToSystemJournal(const char *socketPath = "/run/systemd/journal/socket");

// Logs the program's end with its exit status, and gives the status back.
int logEnd(int status);

// A message as the log takes it: at most `length` characters, whatever a page
// or a file put into it.
QString logCut(const QString &text, int length = 300);

// Lets at most `burst` messages through in any one second. A page can ask for
// refused things thousands of times a second; the log keeps a few of them and
// says how many it left out.
class LogBudget
{
public:
    explicit LogBudget(int burst)
        : m_burst(burst)
    { }
    // At `nowMs`: -1 when this message is left out, otherwise how many were
    // left out since the last one let through.
    int take(qint64 nowMs);

private:
    const int m_burst;
    QMutex m_lock;
    qint64 m_windowStart = -1;
    int m_inWindow = 0;
    int m_leftOut = 0;
};

// Logs one refusal of the help window's lock (what was refused and its URL)
// within the program's budget for them; from any thread.
void logRefusal(const char *what, const QString &url);
