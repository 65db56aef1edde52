#include "model/basic_model_studyRangeStudy.h"

// The model's global variables, apart from the study so that the atomic
// models can be linked into another model without this study.
float flash_size;
float ram_size;
