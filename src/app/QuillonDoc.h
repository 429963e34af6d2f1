// The document: an empty shell of the single-document application.
#pragma once

class CQuillonDoc {
public:
    bool OnNewDocument() { return true; }
};
