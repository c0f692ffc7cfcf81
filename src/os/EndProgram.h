#pragma once

class ProgramTerminator;

// Ends the program at once: no further handler of either form runs. The real
// terminator ends the process here; under test the request is recorded and the
// call unwinds to the outermost guard, so nothing after it runs either way.
[[noreturn]] void EndProgram(ProgramTerminator &terminator);
