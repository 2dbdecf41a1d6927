// Built with the model's namespace renamed and its wide order sums left out,
// so that this copy lives beside the ordinary one in one executable.
#include "PortableModel.hpp"

#include "model/FieldModel.hpp"

void portable_model::Evaluate(double altitude, double latitude,
                              double longitude, double year, double (&out)[7]) {
  static const norvane::FieldModel model;
  model.Evaluate(altitude, latitude, longitude, year, out[0], out[1], out[2],
                 out[3], out[4], out[5], out[6]);
}
