#include "os/EndProgram.h"

#include "os/Services.h"
#include "semantics/RuntimeError.h"

void EndProgram(ProgramTerminator &terminator)
{
    terminator.terminate();
    throw ProgramEnded();
}
