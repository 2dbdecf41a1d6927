#pragma once
/**
 * \file OutputFile.hpp
 * \brief A file that appears at its path whole or not at all.
 */

#include <string>
#include <string_view>

namespace norvane::chart {

/**
 * \brief Writes to a temporary file beside the target and renames it into
 *   place on Commit(); a file never committed is removed.  So a reader of
 *   the path sees either its old content or the whole new one, and a failed
 *   run leaves nothing behind.
 */
class OutputFile {
 public:
  /**
   * Creates the temporary file; check Ok().
   *
   * @param[in] path where the file is to appear.
   */
  explicit OutputFile(std::string path);
  ~OutputFile();

  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// Whether everything so far has worked.
  bool Ok() const { return error_.empty(); }

  /// What failed, naming the path: "cannot write FILE: reason".
  const std::string& Error() const { return error_; }

  /// The target path.
  const std::string& Path() const { return path_; }

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
   * Flushes, closes and renames the file to its path.
   *
   * @return Ok(); on failure the temporary file is removed.
   */
  bool Commit();

 private:
  void Discard();

  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  std::string error_;
};

}  // namespace norvane::chart
