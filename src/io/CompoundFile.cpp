// libgsf's headers come first: they must not see Qt's keyword macros.
#include "io/CompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
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

void InitialiseGsf() {
    static std::once_flag initialised;
    std::call_once(initialised, gsf_init);
}

} // namespace

std::optional<QByteArray> ReadCompoundStream(const QByteArray& file, const char* name) {
    InitialiseGsf();
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

std::optional<QByteArray> WriteCompoundFile(const char* name, const QByteArray& stream) {
    InitialiseGsf();
    Ref<GsfOutput> sink{gsf_output_memory_new()};
    if (!sink.object) return std::nullopt;
    bool ok = false;
    {
        Ref<GsfOutfile> container{gsf_outfile_msole_new(sink.object)};
        if (!container.object) return std::nullopt;
        Ref<GsfOutput> child{gsf_outfile_new_child(container.object, name, FALSE)};
        ok = child.object &&
             gsf_output_write(child.object, static_cast<size_t>(stream.size()),
                              reinterpret_cast<const guint8*>(stream.constData())) &&
             gsf_output_close(child.object);
        ok = gsf_output_close(GSF_OUTPUT(container.object)) && ok;
    }
    if (!ok) return std::nullopt;
    const gsf_off_t size = gsf_output_size(sink.object);
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.object));
    if (!bytes && size > 0) return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
}

} // namespace tolvane
