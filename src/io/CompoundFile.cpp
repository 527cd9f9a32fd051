// libgsf's headers come first: they must not see Qt's keyword macros.
#include "io/CompoundFile.h"

#include <cstring>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>
#include <mutex>
#include <vector>

namespace tolvane {

namespace {

// Drops a GObject reference at the end of a scope.
template <typename T> struct Ref {
    T* object = nullptr;
    ~Ref() {
        if (object) g_object_unref(object);
    }
};

} // namespace

std::optional<QByteArray> ReadCompoundStream(const QByteArray& file, const char* name) {
    static std::once_flag initialised;
    std::call_once(initialised, gsf_init);
    Ref<GsfInput> input{gsf_input_memory_new(reinterpret_cast<const guint8*>(file.constData()),
                                             static_cast<gsf_off_t>(file.size()), FALSE)};
    if (!input.object) return std::nullopt;
    GError* error = nullptr;
    Ref<GsfInfile> container{gsf_infile_msole_new(input.object, &error)};
    if (error) g_error_free(error);
    if (!container.object) return std::nullopt;
    Ref<GsfInput> stream{gsf_infile_child_by_name(container.object, name)};
    if (!stream.object) return std::nullopt;
    const gsf_off_t size = gsf_input_size(stream.object);
    if (size > static_cast<gsf_off_t>(file.size())) return std::nullopt; // damaged
    if (size <= 0) return QByteArray();
    const guint8* data = gsf_input_read(stream.object, static_cast<size_t>(size), nullptr);
    if (!data) return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

namespace {

uint32_t U32(const QByteArray& bytes, qsizetype at) {
    uint32_t v = 0;
    std::memcpy(&v, bytes.constData() + at, 4); // little-endian, as the format and the host
    return v;
}

uint16_t U16(const QByteArray& bytes, qsizetype at) {
    uint16_t v = 0;
    std::memcpy(&v, bytes.constData() + at, 2);
    return v;
}

} // namespace

bool CompoundDirectoryNamesFit(const QByteArray& file) {
    static const char kMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    if (file.size() < 512 || std::memcmp(file.constData(), kMagic, 8) != 0) return true;
    const int shift = U16(file, 30);
    if (shift < 7 || shift > 16) return true; // FreeXL refuses such a header itself
    const qsizetype sectorSize = qsizetype(1) << shift;
    const qsizetype sectors = file.size() / sectorSize; // an upper bound on any chain
    const auto sectorAt = [&](uint32_t sector) -> qsizetype {
        const qsizetype at = (qsizetype(sector) + 1) * sectorSize;
        return sector < 0xFFFFFFFA && at + sectorSize <= file.size() ? at : -1;
    };

    // The sectors of the allocation table: 109 named in the header, the rest in a chain.
    std::vector<uint32_t> fatSectors;
    const uint32_t fatCount = U32(file, 44);
    for (int k = 0; k < 109 && fatSectors.size() < fatCount; ++k)
        fatSectors.push_back(U32(file, 76 + 4 * k));
    uint32_t difat = U32(file, 68);
    for (qsizetype hops = 0; fatSectors.size() < fatCount && hops < sectors; ++hops) {
        const qsizetype at = sectorAt(difat);
        if (at < 0) break;
        for (qsizetype k = 0; k + 1 < sectorSize / 4 && fatSectors.size() < fatCount; ++k)
            fatSectors.push_back(U32(file, at + 4 * k));
        difat = U32(file, at + sectorSize - 4);
    }
    const auto next = [&](uint32_t sector) -> uint32_t {
        const qsizetype perSector = sectorSize / 4;
        const qsizetype index = qsizetype(sector) / perSector;
        if (index >= qsizetype(fatSectors.size())) return 0xFFFFFFFE;
        const qsizetype at = sectorAt(fatSectors[size_t(index)]);
        return at < 0 ? 0xFFFFFFFE : U32(file, at + 4 * (qsizetype(sector) % perSector));
    };

    uint32_t sector = U32(file, 48);
    for (qsizetype hops = 0; hops < sectors; ++hops) {
        const qsizetype at = sectorAt(sector);
        if (at < 0) break;
        for (qsizetype entry = at; entry + 128 <= at + sectorSize; entry += 128)
            if (U16(file, entry + 64) > 64) return false;
        sector = next(sector);
    }
    return true;
}

} // namespace tolvane
