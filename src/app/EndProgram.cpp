#include "app/EndProgram.h"

#include "platform/Platform.h"
#include "platform/RuntimeError.h"

void EndProgram()
{
    platform().terminator->terminate();
    throw ProgramEnded();
}
