#!/usr/bin/perl
# Turns an uncompressed 24-bit BMP (as window_picture.exe writes it) into an RGB PNG.
# Usage: tools/bmp-to-png.pl INPUT.bmp OUTPUT.png
# Only Perl and its zlib module are needed.
use strict;
use warnings;
use Compress::Zlib qw(compress crc32);

my ($in, $out) = @ARGV;
die "usage: bmp-to-png.pl INPUT.bmp OUTPUT.png\n" unless $in && $out;
open(my $fh, '<:raw', $in) or die "bmp-to-png.pl: $in: $!\n";
my $bmp = do { local $/; <$fh> };
close $fh;

my ($magic, $offset) = unpack('a2 x8 V', $bmp);
my ($width, $height, $bits, $compression) = unpack('x18 V l< x2 v V', $bmp);
die "bmp-to-png.pl: $in: not an uncompressed 24-bit BMP\n"
  unless $magic eq 'BM' && $bits == 24 && $compression == 0 && $width > 0 && $height != 0;
my $bottomUp = $height > 0;
$height = abs $height;
my $stride = ($width * 3 + 3) & ~3;
die "bmp-to-png.pl: $in: cut short\n" if length($bmp) < $offset + $stride * $height;

# Each row: filter type 1 (each byte less the one three bytes before it), which suits the
# flat colours of a window, then BGR turned into RGB.
my $rows = '';
for my $y (0 .. $height - 1) {
  my $source = $bottomUp ? $height - 1 - $y : $y;
  my @bytes = unpack('C*', substr($bmp, $offset + $source * $stride, $width * 3));
  @bytes[3 * $_, 3 * $_ + 2] = @bytes[3 * $_ + 2, 3 * $_] for 0 .. $width - 1;
  my @filtered = map { ($bytes[$_] - ($_ >= 3 ? $bytes[$_ - 3] : 0)) & 0xFF } 0 .. $#bytes;
  $rows .= pack('C*', 1, @filtered);
}

sub Chunk {
  my ($type, $data) = @_;
  return pack('N', length $data) . $type . $data . pack('N', crc32($type . $data));
}
open($fh, '>:raw', $out) or die "bmp-to-png.pl: $out: $!\n";
print $fh "\x89PNG\r\n\x1a\n", Chunk('IHDR', pack('NNCCCCC', $width, $height, 8, 2, 0, 0, 0)),
  Chunk('IDAT', compress($rows, 9)), Chunk('IEND', '');
close($fh) or die "bmp-to-png.pl: $out: $!\n";
