#include "wizard/format_labels.h"

#include "register/format_associations.h"

const FormatLabel kFormatLabels[kFormatCount] = {
    {L"ANI", L"Animated Windows Cursors *"},  // 0
    {L"B3D", L"BodyPaint 3D Format *"},  // 1
    {L"BMP/DIB", L"Windows Bitmap"},  // 2
    {L"CLP", L"Windows Clipboard"},  // 3
    {L"CRW/CR2", L"Canon RAW Format *"},  // 4
    {L"CUR", L"Windows Cursor"},  // 5
    {L"DCM/ACR/IMA", L"DICOM Format *"},  // 6
    {L"DCX", L"Multipage Zsoft Paintbrush"},  // 7
    {L"DDS", L"Direct Draw Surface *"},  // 8
    {L"DJVU/IW44", L"DjVu Format *"},  // 9
    {L"DXF", L"Drawing Interchange Format *"},  // 10
    {L"ECW", L"Enhanced Compressed Wavelet *"},  // 11
    {L"EMF", L"Enhanced Windows Metafile"},  // 12
    {L"EPS/PS", L"PostScript Format *"},  // 13
    {L"EXR", L"EXR Format *"},  // 14
    {L"G3", L"G3 FAX Format *"},  // 15
    {L"GIF", L"Compuserve GIF"},  // 16
    {L"HDP/JXR/WDP", L"JPEG-XR/HD-Photo Format *"},  // 17
    {L"HEIC", L"High Efficiency Image File Format *"},  // 18
    {L"ICO", L"Windows Icon"},  // 19
    {L"IFF/LBM", L"Amiga Interchange File Format *"},  // 20
    {L"JLS", L"JPEG-LS Format *"},  // 21
    {L"JP2/JPC/J2K", L"JPEG2000 Format *"},  // 22
    {L"JPG/JPEG/JPE", L"JPEG Format"},  // 23
    {L"JPM", L"JPM Format *"},  // 24
    {L"KDC", L"Kodak Digital Camera Format *"},  // 25
    {L"MNG/JNG", L"Multiple Network Graphics *"},  // 26
    {L"PBM", L"Portable Bitmap"},  // 27
    {L"PCD", L"Kodak Photo CD"},  // 28
    {L"PCX", L"Zsoft Paintbrush"},  // 29
    {L"PGM", L"Portable Greymap"},  // 30
    {L"PNG", L"Portable Network Graphics"},  // 31
    {L"PPM", L"Portable Pixelmap"},  // 32
    {L"PSD", L"Adobe Photoshop Image"},  // 33
    {L"PSP", L"Paint Shop Pro Image *"},  // 34
    {L"RAS/SUN", L"Sun Raster Format *"},  // 35
    {L"RAW", L"RAW Image Data *"},  // 36
    {L"RLE", L"Utah RLE Format *"},  // 37
    {L"SFF", L"Structured Fax Format *"},  // 38
    {L"SGI/RGB", L"Silicon Graphics Image *"},  // 39
    {L"SID", L"LizardTech MrSID Format *"},  // 40
    {L"TGA", L"Truevision Targa"},  // 41
    {L"TIF/TIFF", L"Tagged Image File Format"},  // 42
    {L"WBMP", L"WAP Bitmap *"},  // 43
    {L"WEBP", L"Weppy Format *"},  // 44
    {L"WMF", L"Windows Metafile"},  // 45
    {L"XBM", L"X-Bitmap *"},  // 46
    {L"XPM", L"X-Pixmap *"},  // 47
    {L"SWF/FLV", L"Macromedia Flash Format *"},  // 48
    {L"TTF", L"True Type Font Format *"},  // 49
    {L"ASF", L"Advanced Systems Format *"},  // 50
    {L"AVI", L"Video for Windows *"},  // 51
    {L"MPG/MPE/MPEG", L"MPEG Movie *"},  // 52
    {L"MOV", L"Apple QuickTime Movie *"},  // 53
    {L"WMV", L"Windows Media Video File *"},  // 54
    {L"AIF", L"Audio Interchange Format *"},  // 55
    {L"MID/RMI", L"MIDI Sound Format *"},  // 56
    {L"MP3", L"MPEG Audio Format *"},  // 57
    {L"OGG", L"Ogg Vorbis Audio Format *"},  // 58
    {L"AU/SND", L"SUN Audio Format *"},  // 59
    {L"WAV", L"Windows Audio Format *"},  // 60
    {L"WMA", L"Windows Media Audio File *"},  // 61
};
