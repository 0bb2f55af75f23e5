// The identity of a folder on this machine (folder_handle.h): its device and
// inode, and which of the folders that inode has held it is. That is the
// inode's generation number where the file system keeps one and the
// descriptor can ask for it (FS_IOC_GETVERSION: ext4, XFS, Btrfs; a
// descriptor opened for reading), else the folder's birth time (statx
// STATX_BTIME: tmpfs, say), else nothing. The generation comes first: a
// birth time is taken from a clock that moves in ticks, so a folder deleted
// and made again on the same inode within one tick would bear the same one.
#pragma once

#include "platform/folder_handle.h"

namespace dovetam {

// The identity of the folder the descriptor names (opened for reading, or
// O_PATH: then without the generation). 0, or the errno value of the status
// call.
int FolderIdentityOf(int fd, FolderIdentity& id);

}  // namespace dovetam
