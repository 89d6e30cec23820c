#pragma once
// What the load and save dispatchers need from a document to read or write a project
// file: a project is a TIFF whose first page is the flattened canvas and whose further
// pages are the document's objects, each with its object record.

class CvxTiff;

class CvxProjectTarget {
public:
    virtual ~CvxProjectTarget() = default;
    // Turns the object pages of an open project file into the document's objects.
    virtual void LoadProject(CvxTiff& file) = 0;
    // Writes the document's objects as pages after the flattened canvas; non-zero on success.
    virtual int SaveProject(CvxTiff& file) = 0;
};
