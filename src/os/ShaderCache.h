#pragma once

// The graphics driver (Mesa) keeps compiled shaders under ~/.cache. Without
// them every help page compiles its shaders afresh (about 150 ms more per
// click on a software renderer), so they go to a temporary folder of this
// process instead, made before the first OpenGL context and removed when the
// program ends.
void useTemporaryShaderCache();
void removeTemporaryShaderCache();
