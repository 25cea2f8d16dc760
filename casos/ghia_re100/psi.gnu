set encoding iso_8859_1
set size ratio -1; set tmargin 3; set bmargin 4
set xrange [0:1]
set yrange [0:1]
set xlabel 'x (m)'
set ylabel 'y (m)'
set key outside right top box opaque spacing 1.3
set object 1 rectangle from 0,0 to 1,1 fillstyle empty border lc rgb 'black' lw 2 front
set contour base; unset surface; set view map
# curvas de nível: os 24 valores de psi da figura de Ghia, Ghia e Shin (1982); centros: tabela V, Re = 100
set cntrparam levels discrete -1e-10,-1e-7,-1e-5,-1e-4,-0.01,-0.03,-0.05,-0.07,-0.09,-0.1,-0.11,-0.115,-0.1175
set table $negativos; splot 'psi.dat' using 1:2:3 with lines; unset table
set cntrparam levels discrete 1e-8,1e-7,1e-6,1e-5,5e-5,1e-4,2.5e-4,5e-4,1e-3,1.5e-3,3e-3
set table $positivos; splot 'psi.dat' using 1:2:3 with lines; unset table
unset contour; $ghia << EOD
0.6172 0.7344
0.0313 0.0391
0.9453 0.0625
EOD
plot $negativos using 1:2 with lines lw 1.5 lc rgb '#1f5fa8' title 'psi < 0 (vórtice primário)', $positivos using 1:2 with lines lw 1.5 lc rgb '#c0392b' title 'psi > 0 (vórtices dos cantos)', 'vortices.dat' using 2:3 with points pt 7 ps 1.5 lc rgb 'black' title 'centros (quelna)', $ghia using 1:2 with points pt 6 ps 2.5 lw 2 lc rgb '#2ca02c' title 'Ghia et al. (1982)'
set title 'x'
replot
