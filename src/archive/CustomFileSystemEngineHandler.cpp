#include "archive/CustomFileSystemEngineHandler.h"

#include "archive/ArchiveReader.h"
#include "archive/ArchiveWriter.h"
#include "archive/EncryptedArchiveReader.h"

#include <utility>

namespace {

// Per thread: a read on one thread while another writes a package must stay a read.
thread_local bool g_writeMode = false;

}  // namespace

CustomFileSystemEngineHandler::Enabler::Enabler(bool writeMode)
    : m_saved(std::exchange(g_writeMode, writeMode)) {}

CustomFileSystemEngineHandler::Enabler::~Enabler() {
    g_writeMode = m_saved;
}

bool CustomFileSystemEngineHandler::WriteMode() {
    return g_writeMode;
}

std::unique_ptr<ArchiveEngine> CustomFileSystemEngineHandler::create(const QString& fileName) {
    const ArchivePath::Suffix* suffix = ArchivePath::FindSuffix(fileName);
    if (!suffix) {
        return nullptr;
    }
    const QString text = QLatin1String(suffix->text);
    if (suffix->writable && g_writeMode) {
        return std::make_unique<ArchiveWriter>(text, fileName);
    }
    if (suffix->decodable && fileName.startsWith(QLatin1String(ArchivePath::kDecodePrefix))) {
        return std::make_unique<EncryptedArchiveReader>(text, fileName);
    }
    return std::make_unique<ArchiveReader>(text, fileName);
}
