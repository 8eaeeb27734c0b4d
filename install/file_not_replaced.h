#pragma once
// What an unpacking that was undone tells its caller, file by file.

// Told of each product file that could not be written or take its name
// (held open by another program, running, a folder or a link in its place,
// a link or a file in the way of its folder), which undid the whole
// unpacking: its full path.
class FileNotReplaced {
public:
    virtual void Report(const wchar_t* path) = 0;

protected:
    ~FileNotReplaced() = default;
};
