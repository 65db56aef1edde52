#ifndef RESULTSDB_H_
#define RESULTSDB_H_

class BaseStudyClass;

// Connection to a results database. This build keeps no results database:
// the connection only records its parameters, and every operation does
// nothing and reports success.
class ResultsDB {
 public:
  char host[100];
  int port;  // -1 while none was given
  char database[200];
  char user[100];
  char password[612];

  // Records the parameters as setDBInfo does.
  ResultsDB(const char* host, int port, const char* user, const char* password,
            const char* database);
  ~ResultsDB() = default;

  // Copies every text that is not null into its field, truncated to the
  // field's size, and the port unless it is -1.
  void setDBInfo(const char* host, int port, const char* user, const char* password,
                 const char* database);
  // Returns 1 (success).
  int init(const char* host, int port, const char* user, const char* password,
           const char* database);
  // Returns -1: no run is known.
  int getRunId(const char* experiment);
  // Each returns 1 (success).
  int writeSingleGV(const char* name, const char* type, const char* experiment, void* value);
  int writeGVValues(BaseStudyClass* study, const char* experiment);
  int writeSSGExperInfo(const char* experiment, unsigned long numStates);
};

#endif
