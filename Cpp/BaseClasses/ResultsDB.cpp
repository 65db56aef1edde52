#include "Cpp/BaseClasses/ResultsDB.h"

#include <cstring>

namespace {

// Copies text into a field of size bytes, truncating so it stays terminated.
template <size_t size>
void copyField(char (&field)[size], const char* text) {
  if (text != nullptr) {
    std::strncpy(field, text, size - 1);
    field[size - 1] = '\0';
  }
}

}  // namespace

ResultsDB::ResultsDB(const char* host, int port, const char* user, const char* password,
                     const char* database)
    : host(), port(-1), database(), user(), password() {
  setDBInfo(host, port, user, password, database);
}

void ResultsDB::setDBInfo(const char* host, int port, const char* user, const char* password,
                          const char* database) {
  copyField(this->host, host);
  copyField(this->user, user);
  copyField(this->password, password);
  copyField(this->database, database);
  if (port != -1) {
    this->port = port;
  }
}

int ResultsDB::init(const char*, int, const char*, const char*, const char*) { return 1; }

int ResultsDB::getRunId(const char*) { return -1; }

int ResultsDB::writeSingleGV(const char*, const char*, const char*, void*) { return 1; }

int ResultsDB::writeGVValues(BaseStudyClass*, const char*) { return 1; }

int ResultsDB::writeSSGExperInfo(const char*, unsigned long) { return 1; }
