/*
 * vizor_win: face analysis on the PC through seven plain C entry points.
 *
 * Typical use:
 *     NexoVizorHandle h = NULL;
 *     NexoVizorCreate(&h);
 *     NexoVizorSetConfig(h, "model_conf", "models_bit8/model_conf.json");
 *     NexoVizorSetConfig(h, "min_face_width", "40");   (and the other keys below)
 *     if (NexoVizorInit(h) == 0) {
 *         NexoVizorImage image = {0};  image.data = bytes; image.size = n; image.mode = 1;
 *         NexoVizorResult* r = NULL;
 *         NexoVizorExtractFeature(h, &image, &r);
 *         if (r && r->error_code == 0) use r->face;
 *         NexoVizorRelease(&r);
 *     }
 *     NexoVizorFree(h);
 *
 * Behaviour of this build:
 * - Faces are found by a boosted cascade of simple features whose model file is named by the
 *   configuration file (see NexoVizorInit). The picture is decoded as grey levels in its stored
 *   pixel grid (an EXIF orientation is not applied), shrunk so that its longer side is at most
 *   the configured working size, and scanned for faces of at least min_face_width x
 *   min_face_height picture pixels (never below the model's own window at the working size).
 *   With several faces the one of largest area is reported; coordinates are picture pixels.
 * - Codes this build returns: 0, 1, 2, 3, 6, 11, 13, 15. The others of the table are never
 *   produced here (no liveness, metric, key-point, pose or quality stage) but keep their values.
 * - One handle may be used from one thread at a time (calls on a handle are serialised);
 *   different handles are independent. NexoVizorGetVersion may be called from any thread.
 * - No call throws or aborts on bad input; every failure is a code.
 */
#ifndef VIZOR_WIN_H
#define VIZOR_WIN_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(VIZOR_WIN_BUILDING)
#define VIZOR_API __declspec(dllexport)
#else
#define VIZOR_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define VIZOR_API __attribute__((visibility("default")))
#else
#define VIZOR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. Fixed values: never renumber. */
typedef enum NexoVizorError {
    NEXO_VIZOR_OK = 0,
    NEXO_VIZOR_ERR_UNINIT = 1,         /* no successful NexoVizorInit on this handle */
    NEXO_VIZOR_ERR_PARAMETER = 2,      /* null pointer, bad value, empty or unknown input form */
    NEXO_VIZOR_ERR_NO_IMAGE = 3,       /* the bytes do not decode to a picture */
    NEXO_VIZOR_ERR_BAD_FACE_RECTS = 4, /* (not produced by this build) */
    NEXO_VIZOR_ERR_FACE_TOO_SMALL = 5, /* (not produced by this build) */
    NEXO_VIZOR_ERR_NO_FACE = 6,        /* no face of at least the minimum size was found */
    NEXO_VIZOR_ERR_NOT_LIVENESS = 7,   /* (not produced by this build) */
    NEXO_VIZOR_ERR_NO_METRIC = 8,      /* (not produced by this build) */
    NEXO_VIZOR_ERR_NO_KEYPOINT = 9,    /* (not produced by this build) */
    NEXO_VIZOR_ERR_POSE = 10,          /* (not produced by this build) */
    NEXO_VIZOR_ERR_NO_MODEL = 11,      /* the model file named by the configuration won't load */
    NEXO_VIZOR_ERR_BAD_QUALITY = 12,   /* (not produced by this build) */
    NEXO_VIZOR_ERR_CONFIG = 13,        /* unknown key, configuration file missing or invalid */
    NEXO_VIZOR_ERR_STRING_SHORT = 15   /* the caller's text buffer is too small */
} NexoVizorError;

/* Input forms (NexoVizorImage.format). */
enum { NEXO_VIZOR_FORMAT_ENCODED = 0 }; /* a whole picture file: JPEG, PNG, BMP, TIFF, ... */

/* Analysis modes (NexoVizorImage.mode). */
enum { NEXO_VIZOR_MODE_FACE_BOX = 1 }; /* find the face box only */

typedef struct NexoVizorContext* NexoVizorHandle;

/* One picture to analyse: 64 bytes. The library reads the bytes during the call only. */
typedef struct NexoVizorImage {
    const uint8_t* data;  /*  0: the picture file's bytes */
    uint32_t size;        /*  8: their count (at least 1) */
    int32_t format;       /* 12: NEXO_VIZOR_FORMAT_ENCODED */
    int32_t reserved0;    /* 16: 0 */
    int32_t mode;         /* 20: NEXO_VIZOR_MODE_FACE_BOX */
    uint8_t reserved[40]; /* 24: zero */
} NexoVizorImage;

/* A face in picture pixels: (x1, y1) top-left corner, (x2, y2) just past the bottom-right
   pixel, so x2 - x1 is the width. score: detector votes for the box, larger is surer. */
typedef struct NexoVizorFaceBox {
    float x1, y1, x2, y2;
    float score;
} NexoVizorFaceBox;

/* The outcome of one analysis; owned by the library until NexoVizorRelease. */
typedef struct NexoVizorResult {
    int32_t error_code;           /* 0: NexoVizorError */
    int32_t face_count;           /* 4: faces found; the box is the largest */
    const NexoVizorFaceBox* face; /* 8: the face when error_code is 0, else NULL */
} NexoVizorResult;

/* Makes a handle (not yet initialised) in *handle. 2 when handle is NULL. */
VIZOR_API int32_t NexoVizorCreate(NexoVizorHandle* handle);

/* Sets one key. Keys:
     "model_conf"               path of the configuration file (locale encoding), read by Init
     "alphadet_instance_count"  detector instances, 1 to 16 (this build runs one at a time)
     "min_face_width"           smallest face width in picture pixels, 1 to 10000 (default 40)
     "min_face_height"          smallest face height, likewise
   Values are decimal texts. 2 for NULL arguments or a bad value (the old value stays), 13 for
   an unknown key. Minimum sizes apply from the next analysis, "model_conf" at the next Init. */
VIZOR_API int32_t NexoVizorSetConfig(NexoVizorHandle handle, const char* key, const char* value);

/* Reads the configuration file and loads the model it names. The file is a JSON object:
     { "detector": { "model_file": "...",          path; relative to the file's own folder
                     "scale_factor": 1.1,          step between scanned sizes, 1.01 to 2
                     "min_neighbors": 5,           votes a face needs, 0 to 50
                     "working_max_side": 640,      longer side scanned, 64 to 8192 pixels
                     "equalize_histogram": true } }
   Only "model_file" is required. 0 ready; 13 no "model_conf" set, file unreadable, larger than
   64 KiB or invalid; 11 model not loadable; 2 NULL handle. A failed Init leaves the handle
   uninitialised (an earlier model is dropped). */
VIZOR_API int32_t NexoVizorInit(NexoVizorHandle handle);

/* Copies the NUL-terminated version text into buffer. 15 when size cannot hold it (the buffer
   then holds an empty text), 2 for a NULL buffer or size below 1. */
VIZOR_API int32_t NexoVizorGetVersion(char* buffer, int32_t size);

/* Analyses one picture. On return *result is NULL (handle or result NULL: code 2; no memory)
   or a result to pass to NexoVizorRelease, whatever its error_code. Returns the error code. */
VIZOR_API int32_t NexoVizorExtractFeature(NexoVizorHandle handle, const NexoVizorImage* image,
                                          NexoVizorResult** result);

/* Releases *result (NULL allowed) and sets *result to NULL. 2 when result itself is NULL. */
VIZOR_API int32_t NexoVizorRelease(NexoVizorResult** result);

/* Releases the handle and its model. NULL is allowed. */
VIZOR_API int32_t NexoVizorFree(NexoVizorHandle handle);

#ifdef __cplusplus
}
#endif

#endif /* VIZOR_WIN_H */
