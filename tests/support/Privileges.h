#pragma once

#include <QString>

// Root passes every file permission by two capabilities (override and read
// search). Tests that need a folder that cannot be listed or written use
// these to see what an ordinary user sees; as another user they change
// nothing, the permissions already apply.

// Takes the two capabilities out of the calling thread's effective set for
// its lifetime; they come back at the end (they stay permitted).
class FilePermissionsApply {
  public:
    FilePermissionsApply();
    ~FilePermissionsApply();
    FilePermissionsApply(const FilePermissionsApply &) = delete;
    FilePermissionsApply &operator=(const FilePermissionsApply &) = delete;

    // False when the capabilities could not be dropped; reason says why.
    bool active() const { return m_active; }
    QString reason() const { return m_reason; }

  private:
    bool m_active = false;
    bool m_restore = false;
    QString m_reason;
};

// For a child process (QProcess::setChildProcessModifier): drops the two
// capabilities from the bounding set, so they stay gone after exec as well.
// Returns false when that failed.
bool DropFileOverridesForGood();
