// The error numbers of file_system.h for the errno values of this machine's
// system calls.
#pragma once

namespace dovetam {

// The error number of an errno value: 53 for ENOENT, 58 for EEXIST and
// ENOTEMPTY, 67 for EMFILE and ENFILE, 70 for EACCES, EPERM and EROFS, 75
// for any other.
int FsErrorOfErrno(int err);

// FsErrorOfErrno, with nothing at the path (ENOENT, or ENOTDIR: something
// other than a folder where the path goes on) as `missing`: 53 where an
// object is looked for, 76 where the folder of a call must be there.
int MissingAs(int err, int missing);

}  // namespace dovetam
