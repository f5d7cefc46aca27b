#pragma once

#include <QString>

// A file system of a few pages that the test fills up, for writes on a full
// disk: a tmpfs mounted on a folder for the object's lifetime. Mounting needs
// root; the mount is made in a mount namespace of the test's own when one can
// be had, so it never outlives the test.
class SmallDisk {
  public:
    // Mounts a tmpfs of size bytes on folder (an existing empty folder).
    SmallDisk(const QString &folder, qint64 size);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    // False when it could not be mounted; reason says why.
    bool mounted() const { return m_mounted; }
    QString reason() const { return m_reason; }

    // Takes every free byte with a filler file; true when the disk is then full.
    bool fill();

  private:
    QString m_folder;
    bool m_mounted = false;
    QString m_reason;
};
