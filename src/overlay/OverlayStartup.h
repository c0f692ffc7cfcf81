#pragma once

class MainForm;

// The start-up sequence of form Main, run once before the event loop: its
// input is read, the overlay is built and faded in, then the operator's
// language is resolved from the language table.
void Form_Load(MainForm &Main);

// Form_Load inside the run-time error guard. Returns false when the program
// ended or failed during start-up.
bool loadMain(MainForm &Main);
