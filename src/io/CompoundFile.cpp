// libgsf's headers come first: they must not see Qt's keyword macros.
#include "io/CompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>
#include <mutex>

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

} // namespace tolvane
