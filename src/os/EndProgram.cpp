#include "os/EndProgram.h"

#include "os/Platform.h"
#include "semantics/RuntimeError.h"

void EndProgram()
{
    platform().terminator->terminate();
    throw ProgramEnded();
}
