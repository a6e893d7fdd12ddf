// What the converters need from the operating system: whole-file reads,
// output files, the local clock and the stop signals. One implementation
// per platform (platform_posix.cc here), chosen by the build.
#ifndef COMMON_PLATFORM_H_
#define COMMON_PLATFORM_H_

#include <cstddef>
#include <string>

namespace common {

class OutputFile;
struct Moment;

// Reads the regular file at path whole. False when it cannot be opened, is
// not a regular file, or fewer bytes arrive than its size.
bool ReadWholeFile(const std::string& path, std::string* bytes);

// Creates the file for writing, emptying an existing one. Returns the open
// handle, or -1 when the file cannot be created.
int CreateFileForWriting(const std::string& path);

// Writes all n bytes; false when the file system refuses any of them.
// Safe to call from a signal handler.
bool WriteAll(int handle, const char* data, size_t n);

// Closes the handle; false when the close reports a failed write.
// Safe to call from a signal handler.
bool CloseFile(int handle);

// The local date and time now, to the second.
Moment CurrentMoment();

// From now on an interrupt, a terminate, a hang-up (the terminal closed) or
// a broken pipe on the console hands the lines of the registered output file
// to the file system, closes it and ends the process at once, dying of that
// signal. A write beyond the file size limit fails like a full disk instead
// of ending the process.
void InstallStopSignals();

// The output file the stop signals close; nullptr for none. The file must
// outlive its registration.
void RegisterOutputForSignals(OutputFile* file);

// Ends the process for a stop signal that arrived while the output buffer
// was being handed over: closes the registered file with its lines first.
[[noreturn]] void EndForSignal(int signal_number);

}  // namespace common

#endif  // COMMON_PLATFORM_H_
