#include "store/Archive.h"

#include <cerrno>

namespace lumo {

int SystemErrorNumber(int err) {
    switch (err) {
    case ENOENT:
        return 2;
    case EROFS:
    case EACCES:
    case EPERM:
        return 19;
    case ENOSPC:
    case EDQUOT:
        return 112;
    default:
        return err;
    }
}

} // namespace lumo
