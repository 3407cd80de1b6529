#include "views/HtmlPageWriter.h"

HtmlPageWriter::~HtmlPageWriter() = default;
