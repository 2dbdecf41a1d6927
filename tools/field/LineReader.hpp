#pragma once
/**
 * \file LineReader.hpp
 * \brief Splits a file descriptor's bytes into lines, a large block at a
 *   time, in bounded memory.
 */

#include <cstddef>
#include <string_view>
#include <vector>

namespace norvane::tools {

/// One line of input, without its newline.
struct InputLine {
  std::string_view text;  ///< the line, or its first kMaxLineLength bytes
  bool tooLong;           ///< true if the line exceeds kMaxLineLength bytes
};

/**
 * \brief Reads lines from a file descriptor.
 *
 * Usage: `do { while (reader.Next(line)) ...; } while (reader.Refill());`.
 * Next hands out the complete lines of the bytes read so far; Refill reads
 * the next block (one read call, so it returns as soon as a terminal or a
 * pipe has something).  A last line without a newline counts as a line.
 * A line longer than kMaxLineLength is handed out once, cut and marked
 * tooLong, and the rest of it is skipped, so memory stays bounded whatever
 * the input.
 */
class LineReader {
 public:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 16;  ///< bytes
  static constexpr std::size_t kMaxLineLength = 65536;             ///< bytes

  /**
   * @param[in] fd an open file descriptor to read from; not closed.
   */
  explicit LineReader(int fd);

  /**
   * Takes the next line of the bytes read so far.
   *
   * @param[out] line the line; its text stays valid until the next call of
   *   Refill, so all the lines of one block may be held together.
   * @return false when no complete line is buffered: call Refill.
   */
  bool Next(InputLine& line);

  /**
   * Reads the next block.
   *
   * @return false at the end of input or after a read error (see
   *   ReadError); no line is left to take then.
   */
  bool Refill();

  /**
   * @return the errno value of a failed read, or 0.
   */
  int ReadError() const { return readError_; }

 private:
  int fd_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // one past the last byte read
  bool endOfInput_ = false;
  bool skipping_ = false;  // inside the rest of a line that was too long
  int readError_ = 0;
};

}  // namespace norvane::tools
