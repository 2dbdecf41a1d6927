#pragma once
/**
 * \file Pi.hpp
 * \brief pi for the stand-in host, the command-line tools, the tests and the
 *   benchmarks.
 *
 * The module's page keeps a pi of its own (display/Heading.hpp), which this
 * one does not replace.
 */

namespace norvane {

/// The double nearest pi.
constexpr double kPi = 3.141592653589793;

}  // namespace norvane
