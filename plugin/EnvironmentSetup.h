// Start-up of the plug-in's variables: reads start.env from the module's folder (or one of the two
// folders above it) into the program variable table, and the module's drive into the fallback
// table. The process environment is left alone.
#pragma once

// Enters start.env's ENVIRONS variables and QUORVEL_PROGRAMDRIVE into the variable tables.
void setupEnvironment(void* moduleHandle);
