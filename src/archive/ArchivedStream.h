#pragma once

struct archive;

namespace ArchiveLibInterface {

// Base of the reading and writing streams: a libarchive handle (owned, freed with the stream)
// and whether the stream is ready for use.
class ArchivedStream {
public:
    ArchivedStream() = default;
    virtual ~ArchivedStream();
    ArchivedStream(const ArchivedStream&) = delete;
    ArchivedStream& operator=(const ArchivedStream&) = delete;

    bool Ready() const { return m_ready; }

protected:
    // Frees the handle (read or write, as the subclass made it).
    virtual void FreeHandle() = 0;

    archive* m_handle = nullptr;
    bool m_ready = false;
};

}  // namespace ArchiveLibInterface
