/*
 * The face-analysis header must compile on its own as C with strict warnings and give the
 * input record and the result the layout callers rely on. A failed check stops the build.
 */
#include "vizor_win.h"

#if defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define CHECK(cond, name) _Static_assert(cond, #name)
#else
#define CHECK(cond, name) typedef char check_##name[(cond) ? 1 : -1]
#endif

CHECK(sizeof(NexoVizorImage) == 64, image_record_size);
CHECK(offsetof(NexoVizorImage, data) == 0, image_data);
CHECK(offsetof(NexoVizorImage, size) == 8, image_size);
CHECK(offsetof(NexoVizorImage, format) == 12, image_format);
CHECK(offsetof(NexoVizorImage, mode) == 20, image_mode);
CHECK(offsetof(NexoVizorResult, error_code) == 0, result_code);
CHECK(offsetof(NexoVizorResult, face) == 8, result_face);
CHECK(sizeof(NexoVizorFaceBox) == 5 * sizeof(float), face_box);
CHECK(offsetof(NexoVizorFaceBox, y2) == 12, face_box_corners);
