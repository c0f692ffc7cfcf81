#pragma once

class MainForm;

// The start-up sequence of form Main (Form_Load), run inside the run-time
// error guard: the overlay is built and faded in, then the operator's language
// is resolved from the language table. Returns false when the program ended or
// failed during start-up.
bool loadMain(MainForm &Main);
