#pragma once

namespace platform {

// Gives each of the descriptors 0, 1 and 2 that is closed an open one on
// /dev/null, so that no file, socket or connection the program opens later
// takes a standard descriptor's number and then receives text meant for it.
// Standard input reads as empty; standard output refuses writes (opened for
// reading only), so that output lost to a closed descriptor is still seen as
// an error; standard error takes and discards what is written to it.
// Call first thing in main, before anything opens a file.
void OpenClosedStandardStreams();

} // namespace platform
