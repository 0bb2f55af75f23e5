// Error numbers of errno values: see errors_posix.h.
#include "platform/errors_posix.h"

#include <cerrno>

#include "platform/file_system.h"

namespace dovetam {

int FsErrorOfErrno(int err) {
  switch (err) {
    case 0: return kFsOk;
    case ENOENT: return kFsNotFound;
    case EEXIST:
    case ENOTEMPTY: return kFsAlreadyExists;
    case EMFILE:
    case ENFILE: return kFsTooManyFiles;
    case EACCES:
    case EPERM:
    case EROFS: return kFsPermissionDenied;
    default: return kFsIoError;
  }
}

int MissingAs(int err, int missing) {
  return err == ENOENT || err == ENOTDIR ? missing : FsErrorOfErrno(err);
}

}  // namespace dovetam
