// File-system calls of the class layer. Names are UTF-8; the Windows build
// hands them to the wide system calls, so any character a user has in a path works.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

bool FileExists(const String& fileName);
bool DirectoryExists(const String& directory);
bool DeleteFile(const String& fileName);
bool RenameFile(const String& oldName, const String& newName);
// Creates a folder and every missing folder above it; true when it exists afterwards.
bool ForceDirectories(const String& directory);
// Copies a file over dest (replacing it); false when it cannot.
bool CopyFileTo(const String& source, const String& dest);

// What tells whether a file changed since it was last looked at: its size
// and last write time (in the system's own units).
struct TFileStamp {
  std::int64_t Size = 0;
  std::int64_t WriteTime = 0;
  bool operator==(const TFileStamp& other) const { return Size == other.Size && WriteTime == other.WriteTime; }
};
// False when there is no such file (or it is a folder).
bool GetFileStamp(const String& fileName, TFileStamp& stamp);

// The whole content of a file; EFOpenError when it cannot be opened, EReadError
// when reading fails part way.
std::string ReadFileBytes(const String& fileName);

// Every save of the program goes through here: the bytes go to a temporary file
// in the same folder, which is flushed and then put in place of fileName with
// one replace. A failure raises EFCreateError or EWriteError and leaves an
// existing fileName exactly as it was; the temporary file is removed.
void WriteFileAtomic(const String& fileName, std::string_view bytes);

// WriteFileAtomic for bytes that come in pieces, so that a large save never
// holds the whole file at once: the pieces go to the temporary file as they
// come, and Commit flushes it and puts it in place. Left without Commit (an
// error while the pieces were made), the temporary file goes and fileName stays
// as it was. Raises as WriteFileAtomic does.
class TAtomicFileWriter {
 public:
  explicit TAtomicFileWriter(const String& fileName);
  ~TAtomicFileWriter();
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
  void Write(std::string_view bytes);
  void Commit();

 private:
  // Closes the temporary file and removes it.
  void Discard() noexcept;

  String FFileName;
  String FTemp;
  std::intptr_t FHandle;  // the system's handle of the temporary file; -1 once closed
};

// The temporary file of a save of fileName: fileName + ".~" + the process id +
// "-" + a counter of the process's saves.
String SaveTempFileName(const String& fileName, unsigned long processId, unsigned counter);
// Whether the bare file name is one SaveTempFileName gives for the bare name target.
bool IsSaveTempFileOf(std::string_view name, std::string_view target);
// Deletes the temporary files that saves of fileName left beside it when they
// were cut off before their replace, and gives how many went. Only for a time
// when no save of fileName can be running.
int RemoveStaleSaveTempFiles(const String& fileName);
