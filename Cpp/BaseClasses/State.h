#ifndef STATE_H_
#define STATE_H_

#include <cstdio>

class BaseModelClass;

// Abstract saved local state of one model.
class State {
 public:
  virtual unsigned int hash();                    // base: 1
  virtual int compare(const State& other) const;  // base: 1
  virtual void print() = 0;
  virtual int fwriteState(FILE* f) = 0;
  virtual int freadState(FILE* f) = 0;
  virtual State& operator=(const State& other) = 0;
  virtual ~State();
  // Loads this saved state into the model; the saved state is unchanged.
  virtual void SetState(BaseModelClass* model) const = 0;
  // Saves the model's current state into this object.
  virtual void GetState(BaseModelClass* model) = 0;
  virtual char* GetStatePtr() = 0;
};

// A local state held as a byte buffer of fixed size: the common body of the
// atomic model's and the join's local states, which differ only in how they
// load and save the model (GetState/SetState).
class ByteState : public State {
 public:
  // assertFile names the source file reported when operator= meets a state
  // of another size.
  ByteState(int stateSize, const char* assertFile);
  ~ByteState() override;
  ByteState(const ByteState&) = delete;

  // Sum of each byte (as a signed char) times the i mod 256-th prime, in
  // unsigned 32-bit arithmetic.
  unsigned int hash() override;
  // Lexicographic over the unsigned bytes: -1, 0 or 1.
  int compare(const State& other) const override;
  void print() override;
  // Writes the size as 4 bytes, then the bytes; 1 on a short write.
  int fwriteState(FILE* f) override;
  // Reads a stored state written by fwriteState; 1 when it is short or its
  // stored size differs from this state's size (nothing is read then).
  int freadState(FILE* f) override;
  State& operator=(const State& other) override;
  char* GetStatePtr() override;

 protected:
  char* StatePtr;  // owned
  int size;

 private:
  const char* AssertFile;
};

#endif
