#pragma once
// Text conversions for the HTML export.

#include <QString>

// Replaces the German letters of DOS text, as they read after decoding
// through Windows-1252, by HTML entities. Everything else, "<", ">" and "&"
// included, is copied unchanged. Some real Windows-1252 letters share those
// characters (for example "š" and "Ž") and are rewritten too.
QString DosUmlautsToHtml(const QString& s);

// "&", "<" and ">" as entities, so record texts cannot break the markup.
QString HtmlEscape(const QString& s);
