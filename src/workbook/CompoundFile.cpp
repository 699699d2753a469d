// libgsf (through GLib) uses the word "signals", which Qt defines as a macro: it comes first.
#include <gsf/gsf.h>

#include "workbook/CompoundFile.h"

#include "core/StagedFile.h"
#include "workbook/WorkbookError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <mutex>

namespace velmor::workbook {

namespace {

void initGsf()
{
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

// Owns a GObject reference.
template <typename T>
class Ref {
public:
    explicit Ref(T* p = nullptr)
        : m_p(p)
    {
    }
    ~Ref()
    {
        if (m_p)
            g_object_unref(m_p);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p;
};

QString takeMessage(GError* error)
{
    if (!error)
        return {};
    const QString text = QString::fromUtf8(error->message);
    g_error_free(error);
    return text;
}

void readChildren(GsfInfile* dir, const QString& prefix, QList<CompoundFile::Entry>& out, const QString& file)
{
    const int count = gsf_infile_num_children(dir);
    for (int i = 0; i < count; ++i) {
        const char* rawName = gsf_infile_name_by_index(dir, i);
        const QString name = rawName ? QString::fromUtf8(rawName) : QString();
        const QString path = prefix.isEmpty() ? name : prefix + QLatin1Char('/') + name;
        Ref<GsfInput> child(gsf_infile_child_by_index(dir, i));
        if (!child)
            throw WorkbookError(QStringLiteral("Fisierul %1 este deteriorat: intrarea %2 nu poate fi citita.")
                                    .arg(native(file), name));
        CompoundFile::Entry entry;
        entry.path = path;
        if (GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0) {
            entry.storage = true;
            guint8 id[16];
            if (GSF_IS_INFILE_MSOLE(child.get()) && gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.get()), id))
                entry.classId = QByteArray(reinterpret_cast<const char*>(id), 16);
            out.append(entry);
            readChildren(GSF_INFILE(child.get()), path, out, file);
            continue;
        }
        const gsf_off_t size = gsf_input_size(child.get());
        if (size < 0 || size > gsf_off_t(512) * 1024 * 1024)
            throw WorkbookError(QStringLiteral("Fisierul %1 este deteriorat: intrarea %2 are o marime imposibila.")
                                    .arg(native(file), name));
        entry.data.resize(qsizetype(size));
        if (size > 0 && !gsf_input_read(child.get(), size_t(size), reinterpret_cast<guint8*>(entry.data.data())))
            throw WorkbookError(QStringLiteral("Fisierul %1 este deteriorat: intrarea %2 nu poate fi citita.")
                                    .arg(native(file), name));
        out.append(std::move(entry));
    }
}

CompoundFile readFrom(GsfInput* input, const QString& file)
{
    GError* error = nullptr;
    Ref<GsfInfile> root(gsf_infile_msole_new(input, &error));
    const QString reason = takeMessage(error);
    if (!root)
        throw WorkbookError(QStringLiteral("Fisierul %1 nu este un registru Excel 97 (nu este un document OLE%2).")
                                .arg(native(file), reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
    CompoundFile result;
    QList<CompoundFile::Entry> entries;
    readChildren(root.get(), QString(), entries, file);
    guint8 id[16];
    if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(root.get()), id))
        result.setRootClassId(QByteArray(reinterpret_cast<const char*>(id), 16));
    for (const auto& e : entries) {
        if (e.storage)
            result.addStorage(e.path, e.classId);
        else
            result.setStream(e.path, e.data);
    }
    return result;
}

}

CompoundFile CompoundFile::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookError(QStringLiteral("Fisierul %1 nu poate fi deschis: %2").arg(native(path), file.errorString()));
    return fromBytes(file.readAll(), path);
}

CompoundFile CompoundFile::fromBytes(const QByteArray& bytes, const QString& name)
{
    initGsf();
    Ref<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.constData()), bytes.size(), FALSE));
    if (!input)
        throw WorkbookError(QStringLiteral("Fisierul %1 nu poate fi citit.").arg(native(name)));
    return readFrom(input.get(), name);
}

const CompoundFile::Entry* CompoundFile::topStream(const QString& name) const
{
    for (const Entry& e : m_entries) {
        if (!e.storage && !e.path.contains(QLatin1Char('/')) && e.path.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

void CompoundFile::setStream(const QString& path, const QByteArray& data)
{
    for (Entry& e : m_entries) {
        if (!e.storage && e.path == path) {
            e.data = data;
            return;
        }
    }
    m_entries.append(Entry{path, false, data, {}});
}

void CompoundFile::addStorage(const QString& path, const QByteArray& classId)
{
    m_entries.append(Entry{path, true, {}, classId});
}

namespace {

WorkbookError notWritten(const QString& path, const QString& reason)
{
    return WorkbookError(QStringLiteral("Fisierul %1 nu poate fi scris: %2").arg(native(path), reason));
}

void setClassId(GsfOutfile* dir, const QByteArray& id)
{
    if (id.size() == 16)
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(dir), reinterpret_cast<const guint8*>(id.constData()));
}

}

void CompoundFile::write(const QString& path) const
{
    initGsf();
    const QFileInfo target(path);
    if (target.isDir())
        throw notWritten(path, QStringLiteral("este un dosar."));
    // The container is built in memory and written to disk through a staged file.
    QByteArray bytes;
    {
        Ref<GsfOutput> sink(gsf_output_memory_new());
        if (!sink)
            throw notWritten(path, QStringLiteral("scrierea documentului a esuat."));
        Ref<GsfOutfile> root(gsf_outfile_msole_new(sink.get()));
        setClassId(root.get(), m_rootClassId);

        // Storages stay open until the whole document is written.
        QHash<QString, GsfOutfile*> storages;
        QList<GsfOutput*> open;
        bool ok = true;
        for (const Entry& e : m_entries) {
            const qsizetype slash = e.path.lastIndexOf(QLatin1Char('/'));
            const QString parentPath = slash < 0 ? QString() : e.path.left(slash);
            const QByteArray name = e.path.mid(slash + 1).toUtf8();
            GsfOutfile* parent = parentPath.isEmpty() ? root.get() : storages.value(parentPath);
            if (!parent) {
                ok = false;
                break;
            }
            GsfOutput* child = gsf_outfile_new_child(parent, name.constData(), e.storage ? TRUE : FALSE);
            if (!child) {
                ok = false;
                break;
            }
            if (e.storage) {
                setClassId(GSF_OUTFILE(child), e.classId);
                storages.insert(e.path, GSF_OUTFILE(child));
                open.append(child);
                continue;
            }
            if (!e.data.isEmpty())
                ok = gsf_output_write(child, size_t(e.data.size()), reinterpret_cast<const guint8*>(e.data.constData()));
            ok = gsf_output_close(child) && ok;
            g_object_unref(child);
            if (!ok)
                break;
        }
        for (auto it = open.rbegin(); it != open.rend(); ++it) {
            ok = gsf_output_close(*it) && ok;
            g_object_unref(*it);
        }
        ok = gsf_output_close(GSF_OUTPUT(root.get())) && ok;
        if (!gsf_output_is_closed(sink.get()))
            ok = gsf_output_close(sink.get()) && ok;
        if (!ok)
            throw notWritten(path, QStringLiteral("scrierea documentului a esuat."));
        const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
        bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(gsf_output_size(sink.get())));
    }
    try {
        StagedFile::replace(path, bytes);
    } catch (const WriteError& e) {
        throw WorkbookError(e.message());
    }
}

}
