#pragma once
/**
 * \file OutsideValidity.hpp
 * \brief Points outside a model's validity: which bounds they pass, how
 *   many did, and the words the tools use for both.
 */

#include <string>

#include "tools/model/LoadedModel.hpp"

namespace norvane::tools {

/// How many points of a run lay outside the validity, in all and per bound.
struct OutsideCount {
  unsigned long long points = 0;
  unsigned long long before = 0;
  unsigned long long after = 0;
  unsigned long long below = 0;
  unsigned long long above = 0;

  /// Counts one point that lies beyond `beyond`, if it lies beyond any.
  void Add(const Beyond& beyond);

  /// Adds the counts of another part of the run.
  void Add(const OutsideCount& other);
};

/**
 * @param[in] validity the model's validity.
 * @param[in] beyond the bounds a point passes, at least one.
 * @return why a strict run refuses the point, e.g. "the point lies outside
 *   the model's validity: after 2010.0, above 850 km".
 */
std::string RefusalText(const Validity& validity, const Beyond& beyond);

/**
 * @param[in] validity the model's validity.
 * @param[in] count points outside it, at least one.
 * @return the closing summary of a lenient run, e.g. "2 points lay outside
 *   the model's validity (2005.0 to 2010.0, -1 to 850 km): 2 after 2010.0".
 */
std::string SummaryText(const Validity& validity, const OutsideCount& count);

}  // namespace norvane::tools
