// qdx-gen: writes a deterministic .qdx file for the benchmarks.
//
//   qdx-gen [--rows N] [--crlf] [--messy] [--seed S] OUTPUT
//
// The same arguments always give the same bytes. The header line is
// `id;name;phone;city;date;amount;comment;code`, and each row has those 8 fields:
//
//   0 id       "R" and the row number, 9 digits, so file order is id order
//   1 name     2 or 3 random words, the first one capitalized in a third of the rows: a text
//              column whose 8-byte prefixes often tie, which a sort by prefix keys must resolve
//   2 phone    12 digits; 30% of the rows draw from a pool of N/10 numbers (each drawn about 3
//              times), the rest are unique: what Duplicates keeps
//   3 city     one of 100 town names, uniformly; "kiruna" occurs in exactly one of them, so a Pick
//              "contains kiruna" keeps about 1% of the rows
//   4 date     YYYY-MM-DD
//   5 amount   up to 6 digits, a point and 2 digits
//   6 comment  2 to 4 random words
//   7 code     two capital letters and a digit
//
// With --messy the file looks more like one from the field: a word in twelve carries a Latin-1
// letter (bytes from 0x80 up), a fifth of the names are written in capitals or in lower case only
// (so equal names differ in case), a row in 40 ends early, a row in 100 has a field too many, and
// a row in 50 has an empty comment.
//
// A 10-million-row file is about 1 GB.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
// splitmix64: a fast, well-mixed sequence from a 64-bit seed.
struct Random {
  uint64_t state;
  uint64_t Next() { return Mix(state += 0x9E3779B97F4A7C15ULL); }
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>((Next() >> 32) * n >> 32); }
  static uint64_t Mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
};

// Fixed so that the Pick match "kiruna" hits exactly one of them; checked at start.
const char* const kCities[100] = {
    "Kiruna",     "Lund",         "Malmo",        "Uppsala",     "Umea",      "Lulea",
    "Gavle",      "Boras",        "Vasteras",     "Orebro",      "Linkoping", "Helsingborg",
    "Jonkoping",  "Norrkoping",   "Karlstad",     "Vaxjo",       "Halmstad",  "Sundsvall",
    "Eskilstuna", "Sodertalje",   "Taby",         "Kalmar",      "Falun",     "Skovde",
    "Karlskrona", "Kristianstad", "Ostersund",    "Trollhattan", "Borlange",  "Tumba",
    "Uddevalla",  "Motala",       "Landskrona",   "Nykoping",    "Visby",     "Alingsas",
    "Lidingo",    "Sandviken",    "Varberg",      "Skelleftea",  "Pitea",     "Hassleholm",
    "Angelholm",  "Kungalv",      "Enkoping",     "Falkenberg",  "Ystad",     "Trelleborg",
    "Lerum",      "Katrineholm",  "Vanersborg",   "Hudiksvall",  "Lidkoping", "Harnosand",
    "Mariestad",  "Oskarshamn",   "Nassjo",       "Kungsbacka",  "Mjolby",    "Vastervik",
    "Ronneby",    "Sala",         "Arvika",       "Ludvika",     "Avesta",    "Finspang",
    "Koping",     "Eslov",        "Hoganas",      "Bollnas",     "Karlshamn", "Vetlanda",
    "Tranas",     "Ljungby",      "Kristinehamn", "Gislaved",    "Mora",      "Amal",
    "Solleftea",  "Kumla",        "Lindesberg",   "Hallsberg",   "Alvesta",   "Simrishamn",
    "Strangnas",  "Torshalla",    "Vimmerby",     "Soderhamn",   "Tierp",     "Orsa",
    "Arjeplog",   "Gallivare",    "Haparanda",    "Kalix",       "Boden",     "Jokkmokk",
    "Pajala",     "Storuman",     "Vilhelmina",   "Lycksele",
};

const char* const kOnsets[] = {"b", "c", "d", "f", "g", "h", "j",  "k",  "l",  "m",  "n",
                               "p", "r", "s", "t", "v", "w", "st", "tr", "br", "kl", "sk"};
const char* const kVowels[] = {"a", "e", "i", "o", "u", "y", "ai", "ou", "ee"};
const char* const kCodas[] = {"", "", "", "n", "r", "s", "t", "l", "nd", "rk"};

template <size_t N>
const char* Pick(Random& r, const char* const (&list)[N]) {
  return list[r.Below(static_cast<uint32_t>(N))];
}

// A fixed vocabulary of pronounceable words of 1 to 4 syllables.
// Latin-1 letters that a messy vocabulary puts in place of a vowel.
const char* const kLatin1[] = {"\xE5", "\xE4", "\xF6", "\xE9", "\xFC", "\xC5", "\xD6"};

std::vector<std::string> MakeWords(size_t count, bool messy) {
  Random r{0x51D0C0DEULL};
  std::vector<std::string> words;
  words.reserve(count);
  while (words.size() < count) {
    std::string w;
    uint32_t syllables = 1 + r.Below(4);
    for (uint32_t s = 0; s < syllables; ++s) {
      w += Pick(r, kOnsets);
      w += Pick(r, kVowels);
      if (s + 1 == syllables || r.Below(3) == 0)
        w += Pick(r, kCodas);
    }
    if (messy && r.Below(12) == 0) {
      size_t vowel = w.find_first_of("aeiouy");
      if (vowel != std::string::npos)
        w.replace(vowel, 1, Pick(r, kLatin1));
    }
    words.push_back(std::move(w));
  }
  return words;
}

// Output through one large buffer; fields are formatted by hand, printf is too slow for 1 GB.
class Out {
 public:
  explicit Out(FILE* f) : file_(f), buffer_(1 << 22) {}
  ~Out() { Flush(); }
  void Put(char c) {
    if (used_ == buffer_.size())
      Flush();
    buffer_[used_++] = c;
  }
  void Put(const char* s) {
    while (*s)
      Put(*s++);
  }
  void Put(const std::string& s) {
    if (buffer_.size() - used_ < s.size())
      Flush();
    std::memcpy(buffer_.data() + used_, s.data(), s.size());
    used_ += s.size();
  }
  void Flush() {
    if (used_ && std::fwrite(buffer_.data(), 1, used_, file_) != used_) {
      std::perror("qdx-gen: write");
      std::exit(1);
    }
    used_ = 0;
  }

 private:
  FILE* file_;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

// `width` digits, zero-padded (0: as many as needed).
std::string Digits(uint64_t v, int width) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0 || n < width);
  std::reverse(digits, digits + n);
  return std::string(digits, static_cast<size_t>(n));
}

// The changes that make a row messy; the caller writes the first `count` fields and then, when
// `extra`, one field more than the header has.
void Roughen(Random& r, std::vector<std::string>& fields, size_t& count, bool& extra) {
  uint32_t nameCase = r.Below(10);
  for (char& c : fields[1]) {
    if (nameCase == 0 && c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 32);
    if (nameCase == 1 && c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  }
  if (r.Below(50) == 0)
    fields[6].clear();
  if (r.Below(40) == 0)
    count = 1 + r.Below(static_cast<uint32_t>(fields.size() - 1));
  extra = count == fields.size() && r.Below(100) == 0;
}

int Usage() {
  std::fprintf(stderr, "usage: qdx-gen [--rows N] [--crlf] [--messy] [--seed S] OUTPUT\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  uint64_t rows = 10'000'000;
  uint64_t seed = 1;
  bool crlf = false;
  bool messy = false;
  const char* output = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--rows") && i + 1 < argc) {
      rows = std::strtoull(argv[++i], nullptr, 10);
    } else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (!std::strcmp(argv[i], "--crlf")) {
      crlf = true;
    } else if (!std::strcmp(argv[i], "--messy")) {
      messy = true;
    } else if (argv[i][0] != '-' && !output) {
      output = argv[i];
    } else {
      return Usage();
    }
  }
  if (!output || rows == 0 || rows >= 1'000'000'000)
    return Usage();

  int kirunas = 0;
  for (const char* city : kCities) {
    std::string lower(city);
    for (char& c : lower)
      c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    kirunas += lower.find("kiruna") != std::string::npos;
  }
  if (kirunas != 1) {
    std::fprintf(stderr, "qdx-gen: the town list must hold \"kiruna\" once\n");
    return 1;
  }

  FILE* f = std::fopen(output, "wb");
  if (!f) {
    std::perror(output);
    return 1;
  }
  const std::vector<std::string> words = MakeWords(6000, messy);
  const char* eol = crlf ? "\r\n" : "\n";
  const uint64_t pool = rows / 10 > 0 ? rows / 10 : 1;
  Random r{seed * 0x2545F4914F6CDD1DULL};
  {
    Out out(f);
    out.Put("id;name;phone;city;date;amount;comment;code");
    out.Put(eol);
    std::vector<std::string> fields(8);
    for (uint64_t row = 1; row <= rows; ++row) {
      for (std::string& field : fields)
        field.clear();
      fields[0] = 'R' + Digits(row, 9);

      uint32_t nameWords = 2 + r.Below(2);
      for (uint32_t w = 0; w < nameWords; ++w) {
        std::string word = words[r.Below(static_cast<uint32_t>(words.size()))];
        if (w == 0 && r.Below(3) == 0)
          word[0] = static_cast<char>(word[0] - 32);
        if (w)
          fields[1] += ' ';
        fields[1] += word;
      }

      // Pool numbers and unique numbers come from disjoint inputs of one mixing function.
      uint64_t source = r.Below(10) < 3 ? (1ULL << 63) | r.Next() % pool : row;
      fields[2] =
          Digits(Random::Mix(source + seed * 0x9E3779B97F4A7C15ULL) % 1'000'000'000'000ULL, 12);
      fields[3] = kCities[r.Below(100)];
      // One draw to a statement: the order of the draws fixes the bytes.
      fields[4] = Digits(1990 + r.Below(35), 4) + '-';
      fields[4] += Digits(1 + r.Below(12), 2) + '-';
      fields[4] += Digits(1 + r.Below(28), 2);
      fields[5] = Digits(r.Below(1'000'000), 0) + '.';
      fields[5] += Digits(r.Below(100), 2);

      uint32_t commentWords = 2 + r.Below(3);
      for (uint32_t w = 0; w < commentWords; ++w) {
        if (w)
          fields[6] += ' ';
        fields[6] += words[r.Below(static_cast<uint32_t>(words.size()))];
      }
      fields[7] = static_cast<char>('A' + r.Below(26));
      fields[7] += static_cast<char>('A' + r.Below(26));
      fields[7] += static_cast<char>('0' + r.Below(10));

      size_t count = fields.size();
      bool extra = false;
      if (messy)
        Roughen(r, fields, count, extra);
      for (size_t k = 0; k < count; ++k) {
        if (k)
          out.Put(';');
        out.Put(fields[k]);
      }
      if (extra)
        out.Put(";extra");
      out.Put(eol);
    }
  }
  if (std::fclose(f) != 0) {
    std::perror(output);
    return 1;
  }
  return 0;
}
