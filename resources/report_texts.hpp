#pragma once
// Texts of the report of a file run and of the log of the window-mode drivers (UTF-8).

#include <string_view>

#include "resources/chain_texts.hpp"

namespace zelvo::texts {

// The rule that separates the blocks of the report and ends each log entry.
inline constexpr const char* kRule =
    "--------------------------------------------------------------------------------\n";

// Report header.
inline constexpr const char* kReportTitle = "KPT / VRD / Information géodésique                ";
inline constexpr const char* kReportPublisher = "Zelvo\n";
inline constexpr const char* kReportPublisherLine = "Transformation de coordonnées géodésiques\n";
inline constexpr const char* kReportTransformationType = " Transformation de type ";
inline constexpr const char* kReportDepartureFile = "COORDONNÉES INITIALES :  Fichier ";
inline constexpr const char* kReportArrivalFile = "COORDONNÉES FINALES :  Fichier ";
inline constexpr const char* kReportSystem = "Référentiel géodésique : ";
inline constexpr const char* kReportEllipsoid = "Ellipsoïde             : ";
inline constexpr const char* kReportSemiMajorAxis = "(a= ";
inline constexpr const char* kReportEccentricity = ", e2= ";
inline constexpr const char* kReportMeridian = "Méridien origine       : ";
inline constexpr const char* kReportProjection = "Projection             : ";
inline constexpr const char* kReportVerticalSystem = "Système altimétrique   : ";
inline constexpr const char* kReportCartesian = "Coordonnées cartésiennes en mètres";
inline constexpr const char* kReportGeographic = "Coordonnées géographiques en ";
inline constexpr const char* kReportProjected = "Coordonnées planes E, N, ";
inline constexpr const char* kReportProjectedIn = "Coordonnées planes E, N en ";  // then a unit other than the metre
inline constexpr const char* kReportLonLatAltitude = "(lon, lat, altitude)";
inline constexpr const char* kReportLatLonAltitude = "(lat, lon, altitude)";
inline constexpr const char* kReportLonLatHeight = "(lon, lat, hauteur)";
inline constexpr const char* kReportLatLonHeight = "(lat, lon, hauteur)";
inline constexpr const char* kReportAltitudeInMetres = "Altitude en mètres";
inline constexpr const char* kReportHeightInMetres = "Hauteur en mètres";

// Report lines.
inline constexpr const char* kReportErrorLine = "ERREUR à la ligne ";
inline constexpr const char* kReportErrorOfFile = " du fichier initial : ";
inline constexpr const char* kReportSidesSeparator = " | ";

// Log entries.
inline constexpr const char* kLogPoint = "POINT : ";
inline constexpr const char* kLogTransformation = "\tTransformation : ";
inline constexpr const char* kLogDepartureSystem = "SYSTEME DE DEPART : ";
// The geographic arrival heading differs from the two others; both are part of the log's layout.
inline constexpr const char* kLogArrivalSystem = "SYSTEME DE D'ARRIVEE : ";
inline constexpr const char* kLogGeographicArrivalSystem = "SYSTEME D'ARRIVEE : ";
inline constexpr const char* kLogEllipsoid = "Ellipsoïde  : ";
inline constexpr const char* kLogMeridian = "Méridien  : ";
inline constexpr const char* kLogProjection = "Projection  : ";
inline constexpr const char* kLogAltitude = " alt = ";
inline constexpr const char* kLogHeight = " h = ";
inline constexpr const char* kLogNoVertical = " aucune info sur la composante verticale ";
inline constexpr const char* kLogConvergence = "Convergence : ";
inline constexpr const char* kLogAlteration = ") Altération linéaire : ";
inline constexpr const char* kLogAlterationUnit = " mm/km";

}  // namespace zelvo::texts
