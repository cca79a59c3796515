#include "archive/ArchivedStream.h"

namespace ArchiveLibInterface {

ArchivedStream::~ArchivedStream() = default;

}  // namespace ArchiveLibInterface
