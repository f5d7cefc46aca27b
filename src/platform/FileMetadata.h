#pragma once

#include <sys/stat.h>

namespace platform {

// Gives a new file what the file it replaces had besides its content: group,
// mode bits (set-user-ID, set-group-ID and sticky included), access control
// list and user extended attributes; an attribute the new file inherited from
// its folder (a default ACL) and the old one lacked is removed. Other
// extended attributes (security labels) are copied where the system allows.
// False when something of the first kind could not be kept exactly.
// old is an O_PATH descriptor of the old file, oldStat its status.
bool CopyFileMetadata(int old, const struct stat &oldStat, int to);

} // namespace platform
