// The patient header of a recording file as one JSON object (UTF-8), with the texts exactly
// as the program would put them into the fields, trailing blanks included.
#pragma once

#include <string>

#include "files/recording_file.h"

namespace pulvitra::cli {

// Keys in this order: magic_ok, surname, first_name, date, address, clinic, patient_id, age,
// sex ("female", "male" or null), comment, fixed_interval. Only magic_ok when the magic does
// not match.
std::string header_json(const RecordingHeader& header);

}  // namespace pulvitra::cli
