/*
 * Meshgate: geographic position to the Japanese plane rectangular coordinate system.
 *
 * Converts latitude and longitude (decimal degrees, north and east positive) on the
 * GRS80 or the Bessel ellipsoid into x (northing) and y (easting), in metres, of one of
 * the 19 zones, by the Gauss-Krueger series with scale factor 0.9999 on the central
 * meridian. The library keeps no state and may be called from any thread.
 *
 * Plain C surface: callers need nothing but this header and libmeshgate.so.
 */
#ifndef WAVORA_GEOCONV_MESHGATE_H
#define WAVORA_GEOCONV_MESHGATE_H

#if defined(_WIN32)
#  if defined(MESHGATE_BUILD)
#    define MESHGATE_API __declspec(dllexport)
#  else
#    define MESHGATE_API __declspec(dllimport)
#  endif
#else
#  define MESHGATE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Ellipsoid codes. Every code other than MESHGATE_GRS80 selects Bessel (Tokyo datum);
 * the bathymetry files' datum column gives '1' for GRS80 and '2' for Bessel. */
#define MESHGATE_GRS80 1
#define MESHGATE_BESSEL 2

/* Number of zones; valid zone numbers are 1 to MESHGATE_ZONE_COUNT. */
#define MESHGATE_ZONE_COUNT 19

/*
 * Meshgate(ellipsoid, zone, latitude, longitude, x, y)
 *
 *   ellipsoid  1 = GRS80; any other value = Bessel.
 *   zone       1 to 19.
 *   latitude   decimal degrees north (south and west are not treated specially: the
 *   longitude  series is applied to the signed values as they are).
 *   x          receives the northing from the zone origin, metres.
 *   y          receives the easting from the zone's central meridian, metres.
 *
 * Returns 1 after writing *x and then *y.
 * Returns 0 and writes nothing when zone is outside 1..19 or x or y is a null pointer;
 * such a call would otherwise read past the zone table or write through nothing.
 * Latitude and longitude are not checked: a non-finite input gives non-finite output.
 */
MESHGATE_API int Meshgate(int ellipsoid, int zone, double latitude, double longitude,
                          double* x, double* y);

#ifdef __cplusplus
}
#endif

#endif /* WAVORA_GEOCONV_MESHGATE_H */
