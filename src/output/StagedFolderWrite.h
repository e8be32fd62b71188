#pragma once

#include <QIODevice>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>

// Puts a set of files into one folder so that either all of them arrive or the folder stays
// as it was. Every file is first written in full to a new ".reelcraft-XXXXXX" file in the
// folder itself (created exclusively, never through a link); commit() then checks that every
// target name is free, a regular file or a symbolic link, and only then renames the files
// into place. A link at a target is replaced, never written through. A failed check, a
// discard(), the destructor and a terminate signal (see RemoveStagedFilesOnTerminateSignals)
// remove the temporary files and leave the folder's other entries alone.
//
// The stage functions may be called from several threads at once (pictures made on worker
// threads); commit() and discard() belong to the thread that owns the object, after the
// staging has ended.
class StagedFolderWrite
{
public:
    // Writes the bytes of one file to out; false with a reason when it cannot.
    using Writer = std::function<bool(QIODevice &out, QString *problem)>;

    // folder must exist; when it cannot be opened, every stage and commit fails with the reason.
    explicit StagedFolderWrite(const QString &folder);
    ~StagedFolderWrite();
    StagedFolderWrite(const StagedFolderWrite &) = delete;
    StagedFolderWrite &operator=(const StagedFolderWrite &) = delete;

    const QString &folder() const { return m_folder; }

    // A copy of the regular file source under name. A JPEG (by its content) loses its private
    // metadata (JpegWithoutMetadata); every other file is copied byte for byte. When the target
    // is source itself (the same file, not a link to it), nothing is staged and *itself (when
    // given) is set. False with a reason when source is no regular file or cannot be read.
    bool stageCopy(const QString &source, const QString &name, QString *problem, bool *itself = nullptr);
    // bytes under name.
    bool stageBytes(const QString &name, const QByteArray &bytes, QString *problem);
    // What write puts into the temporary file, under name.
    bool stageWritten(const QString &name, const Writer &write, QString *problem);

    // The names staged so far, in staging order.
    QStringList stagedNames() const;

    // Puts every staged file in place. False with a reason, and the folder as it was, when a
    // target is something else (a folder, a device) or a rename fails.
    bool commit(QString *problem);
    // Removes every staged file; the targets are not touched.
    void discard();

private:
    struct Staged
    {
        QString name;
        QByteArray temporary; // the ".reelcraft-XXXXXX" name, in the file system's encoding
        int slot = -1;        // in the terminate-signal clean-up table
    };

    // Creates a new temporary file; its descriptor, or -1 with a reason.
    int createTemporary(Staged *staged, QString *problem);
    bool finish(int fd, Staged staged, bool written, QString *problem);
    void removeTemporary(const Staged &staged);
    QString targetText(const QString &name) const;

    QString m_folder;
    int m_folderFd = -1;
    QString m_openProblem;
    mutable QMutex m_mutex;
    QList<Staged> m_staged;
};

// From now on SIGTERM, SIGINT and SIGHUP remove the temporary files of every staged write in
// progress and then end the process as the signal would. For programs without an event loop
// that could handle the signal (the command-line tool).
void RemoveStagedFilesOnTerminateSignals();
