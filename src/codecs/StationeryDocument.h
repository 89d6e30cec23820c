#pragma once
// Stationery documents: a word-processor template (Flat ODF text, one XML file) whose picture
// frames receive a picture. The new document carries the picture embedded, so it opens ready
// for the text and the printer without any macro.

#include <span>
#include <string>
#include <string_view>

class CvxDIB;

struct StationeryTemplate {
    const char* menuText;      // the template command's menu text
    const char* documentName;  // the template's file name without its ".fodt"
};

// The fourteen templates in menu order.
std::span<const StationeryTemplate> StationeryTemplates();
// The template with this menu text, or null.
const StationeryTemplate* FindStationeryTemplate(std::string_view menuText);
// The installed template file of a template.
std::string StationeryTemplatePath(const StationeryTemplate& stationery);

// Writes outputPath from the template with the picture in every frame whose name begins with
// "Picture". Each frame keeps its centre and shrinks to the picture's aspect, so the picture is
// never distorted. Returns 1 on success; a template without picture frames, an unreadable
// template or a picture that cannot be encoded writes nothing and returns 0.
int WriteStationery(const std::string& templatePath, const CvxDIB& picture, const std::string& outputPath);

// A name in folder that no file has yet: "<name>.fodt", else "<name> (2).fodt", "(3)" and so on.
std::string UnusedDocumentPath(const std::string& folder, const std::string& name);
