#pragma once
/**
 * \file OutputFile.hpp
 * \brief An output of a tool, which replaces only what is its own.
 *
 * A regular file, or a path where nothing is yet, is written to a temporary
 * file in the same directory and renamed into place when complete, with
 * the mode (and, where permitted, the owner) of the file it replaces; a
 * symbolic link is followed and its target replaced so.  Anything else, a
 * device, a FIFO or standard output given as "-", is written through, and
 * never replaced.  A directory is refused.  Temporary files are removed if
 * the run fails or a signal ends it.
 */

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

namespace norvane::tools {

/**
 * \brief One output: opened when made, so that a path which cannot be
 *   written is found before any work is done.
 */
class OutputFile {
 public:
  /**
   * Opens the output: creates its temporary file, or opens what it writes
   * through; check Ok().
   *
   * @param[in] path the path given by the user; "-" for standard output.
   * @param[in] holdThrough whether to keep what is written through in
   *   memory until Close(), so that a device or FIFO sees nothing of a run
   *   that fails.
   */
  explicit OutputFile(std::string path, bool holdThrough = false);
  /// Removes the temporary file if it was never put in place.
  ~OutputFile();

  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// Whether everything so far has worked.
  bool Ok() const { return error_.empty(); }

  /// What failed, naming the path: "cannot write FILE: reason".
  const std::string& Error() const { return error_; }

  /// The path as the user gave it.
  const std::string& Path() const { return path_; }

  /// Whether the output is written through instead of replaced.
  bool WritesThrough() const { return through_; }

  /**
   * Whether the output would replace a given existing file.
   *
   * @param[in] device, inode the file's identity (stat's st_dev, st_ino).
   */
  bool Replaces(dev_t device, ino_t inode) const;

  /// The open descriptor the bytes go to, or -1 after a failure.
  int Descriptor() const { return fd_; }

  /**
   * Appends bytes; after a failure does nothing.
   *
   * @param[in] bytes what to write.
   */
  void Write(std::string_view bytes);

  /**
   * Records a failure found elsewhere, e.g. by the encoder feeding Write.
   *
   * @param[in] reason what went wrong.
   */
  void Fail(const std::string& reason);

  /**
   * Finishes writing: writes what was held, then flushes and closes.
   *
   * @return Ok().
   */
  bool Close();

  /**
   * Renames the closed temporary file over its path, keeping a link to the
   * file it replaces until Keep() or Withdraw(); nothing for an output
   * written through.
   *
   * @return Ok().
   */
  bool Place();

  /// Undoes Place(): puts back the file replaced, or removes the new one.
  void Withdraw();

  /// Confirms Place(): lets go of the file replaced.
  void Keep();

 private:
  void Open();
  void Through(const std::string& target);
  void Temporary(const std::string& target, const struct stat* old);
  void Unlist(std::string& path);

  std::string path_;
  bool hold_;
  std::string target_;     // the file replaced, symbolic links followed
  std::string temporary_;  // listed for removal on a signal while set
  std::string backup_;     // a link to the file replaced, after Place()
  std::string held_;
  bool through_ = false;
  bool ownsFd_ = true;
  bool existed_ = false;
  bool placed_ = false;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  int fd_ = -1;
  std::string error_;
};

/**
 * Puts a run's outputs in place together: closes them all, then renames
 * each into place; if any fails, the outputs already placed are withdrawn,
 * so that either all are in place or none of the run's files remains.
 * Outputs written through receive their bytes before any rename.
 *
 * @param[in] files the outputs, each Ok() or not.
 * @return nullptr, or the first output that failed.
 */
const OutputFile* PlaceAll(const std::vector<OutputFile*>& files);

}  // namespace norvane::tools
