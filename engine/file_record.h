// A file's layout described once. A format is a function template `fields(f, record)` that names each
// stored field in file order; the same function writes the record (RecordWriter), reads it back
// (RecordReader) or measures it (RecordSize), so the two directions can never disagree. The records
// themselves are the game's own types: what only the file holds (padding, constant words, values the
// game does not read back) lives in the field list, not in the types.
//
// Every field is little-endian and packed, without alignment. The reader never touches a byte outside
// its buffer: a read past the end, or a constant word that does not match, marks the read failed and
// leaves the field as it was.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "file records are copied in the machine's order");

// Puts the fields into a buffer of a fixed capacity; what would not fit is dropped and marks overflow.
class RecordWriter {
  public:
    RecordWriter(uint8_t* out, size_t capacity) : out_(out), capacity_(capacity) {}

    void i32(const int32_t& v) { put(&v, 4); }
    void f32(const float& v) { put(&v, 4); }
    void u8(const uint8_t& v) { put(&v, 1); }
    void flag8(const bool& v) { u8(v ? 1 : 0); }     // a bool as one byte, 1 or 0
    void flag32(const bool& v) { i32(v ? 1 : 0); }   // a bool as a whole word, 1 or 0
    void writtenOnly32(const int32_t& v) { i32(v); } // stored for others; the game never reads it back
    template <size_t N> void text(const char (&v)[N]) { put(v, N); }
    template <size_t N> void u8s(const uint8_t (&v)[N]) { put(v, N); }
    template <size_t N> void i32s(const int32_t (&v)[N]) {
        for (const int32_t& x : v) i32(x);
    }
    void word(int32_t constant) { i32(constant); } // a constant that opens or marks the format
    void pad(int count, uint8_t value = 0) {       // bytes of no meaning, written as value
        for (int i = 0; i < count; ++i) u8(value);
    }

    size_t size() const { return pos_; }
    bool overflow() const { return overflow_; }

  private:
    void put(const void* data, size_t n) {
        if (pos_ + n > capacity_) {
            overflow_ = true;
            return;
        }
        std::memcpy(out_ + pos_, data, n);
        pos_ += n;
    }
    uint8_t* out_;
    size_t capacity_;
    size_t pos_ = 0;
    bool overflow_ = false;
};

// Takes the fields out of a loaded buffer. ok() says whether every field lay inside the buffer and every
// constant word matched; complete() also that nothing was left over.
class RecordReader {
  public:
    RecordReader(const uint8_t* in, size_t size) : in_(in), size_(size) {}

    void i32(int32_t& v) { take(&v, 4); }
    void f32(float& v) { take(&v, 4); }
    void u8(uint8_t& v) { take(&v, 1); }
    void flag8(bool& v) {
        uint8_t b = v ? 1 : 0;
        take(&b, 1);
        v = b != 0;
    }
    void flag32(bool& v) {
        int32_t w = v ? 1 : 0;
        take(&w, 4);
        v = w != 0;
    }
    void writtenOnly32(int32_t&) { skip(4); }
    template <size_t N> void text(char (&v)[N]) { take(v, N); }
    template <size_t N> void u8s(uint8_t (&v)[N]) { take(v, N); }
    template <size_t N> void i32s(int32_t (&v)[N]) {
        for (int32_t& x : v) i32(x);
    }
    void word(int32_t constant) {
        int32_t w = 0;
        take(&w, 4);
        if (w != constant) failed_ = true;
    }
    void pad(int count, uint8_t = 0) { skip(static_cast<size_t>(count)); }

    bool ok() const { return !failed_; }
    bool complete() const { return !failed_ && pos_ == size_; }

  private:
    void take(void* data, size_t n) {
        if (failed_ || n > size_ - pos_) {
            failed_ = true;
            return;
        }
        std::memcpy(data, in_ + pos_, n);
        pos_ += n;
    }
    void skip(size_t n) {
        if (failed_ || n > size_ - pos_) {
            failed_ = true;
            return;
        }
        pos_ += n;
    }
    const uint8_t* in_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

// Counts the bytes a layout takes; usable at compile time, so a format's size can be checked there.
class RecordSize {
  public:
    constexpr void i32(const int32_t&) { bytes += 4; }
    constexpr void f32(const float&) { bytes += 4; }
    constexpr void u8(const uint8_t&) { bytes += 1; }
    constexpr void flag8(const bool&) { bytes += 1; }
    constexpr void flag32(const bool&) { bytes += 4; }
    constexpr void writtenOnly32(const int32_t&) { bytes += 4; }
    template <size_t N> constexpr void text(const char (&)[N]) { bytes += N; }
    template <size_t N> constexpr void u8s(const uint8_t (&)[N]) { bytes += N; }
    template <size_t N> constexpr void i32s(const int32_t (&)[N]) { bytes += 4 * N; }
    constexpr void word(int32_t) { bytes += 4; }
    constexpr void pad(int count, uint8_t = 0) { bytes += static_cast<size_t>(count); }

    size_t bytes = 0;
};

// The bytes of a record of type Record under the layout Fields (a callable taking a visitor and a record).
template <class Record, class Fields> constexpr size_t recordBytes(Fields fields) {
    RecordSize size;
    const Record record{};
    fields(size, record);
    return size.bytes;
}

// Writes one record into a buffer of exactly its layout's size; false when it does not fit exactly.
template <class Record, class Fields>
bool writeRecord(Fields fields, const Record& record, uint8_t* out, size_t size) {
    RecordWriter writer(out, size);
    fields(writer, record);
    return !writer.overflow() && writer.size() == size;
}

// Reads one record from a buffer that must hold exactly its layout; false (the record possibly half
// read) when the size or a constant word is wrong.
template <class Record, class Fields>
bool readRecord(Fields fields, Record& record, const uint8_t* in, size_t size) {
    RecordReader reader(in, size);
    fields(reader, record);
    return reader.complete();
}
