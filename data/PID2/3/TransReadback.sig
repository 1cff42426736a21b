// Which definition a calibration read from a demo controller (product 2, firmware 3) belongs to.
// Each signature line lists image bytes as @offset:value:mask; the first line whose bytes all
// match names the definition file. A star after the equals sign means several similar
// transmissions share the signature; the lines under it list them as *text*file.
//
// Bytes 0-1 hold the calibration id 0x0203 in every demo definition. KV4.def keeps its tire
// code at byte 3 (75 for the default 750 revolutions per mile) and the performance switch at
// byte 18; generic.init keeps the tire revolutions themselves at bytes 4-5. KV5.def shares the
// KV4's image layout: nothing in the image tells them apart, so every line that matches one lists
// both, and the user chooses.

@0:0x03:0xFF @1:0x02:0xFF @3:0x4B:0xFF @18:1:0xFF = *KV4 or KV5 with the performance shift program
*KV4 Four-Speed (performance shift program)*KV4.def
*KV5 Five-Speed (performance shift program)*KV5.def
*Other four-speed automatic (generic settings)*generic.init

@0:0x03:0xFF @1:0x02:0xFF @3:0x4B:0xFF = *KV4 or KV5
*KV4 Four-Speed*KV4.def
*KV5 Five-Speed*KV5.def
@0:0x03:0xFF @1:0x02:0xFF @3:0:0xFF @4:0xEE:0xFF @5:0x02:0xFF = generic.init
