#pragma once

#include <QByteArray>

struct CheckReport;

// The findings for code scanning and editors: SARIF 2.1.0, one rule per
// finding kind, each finding a result at its file and line.
QByteArray reportSarif(const CheckReport &report);

// The findings for a CI's test report: JUnit XML, one test case per finding,
// an error a failure and a warning a passed case that says it (a failure too
// with `warningsFail`, as with --werror); no finding, one passed case.
QByteArray reportJunit(const CheckReport &report, bool warningsFail);
